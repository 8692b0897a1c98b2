// Byte-string helpers that know the double-byte characters of code page 936.
#pragma once

#include <string>

namespace kelvaro {

// A GBK lead byte starts a two-byte character; its trail byte may look like an
// ASCII letter or a backslash and must never be read as one.
inline bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Equal when the texts differ at most in the case of ASCII letters, as Windows
// compares file names. Double-byte characters must match exactly.
bool equalIgnoringAsciiCase(const std::string& a, const std::string& b);

// The text with its ASCII letters in lower case; double-byte characters untouched.
std::string asciiLower(const std::string& text);

// The folder part of a Windows path: everything before its last backslash, which
// is never the trail byte of a double-byte character (乗 is 81 5C). Empty when
// there is no backslash.
std::string folderOf(const std::string& path);

}  // namespace kelvaro
