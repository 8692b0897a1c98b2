// Comparing and joining texts byte by byte. A text is a zero-terminated byte
// string in the ANSI code page; a missing text (a null pointer) is the same value
// as the empty text.
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>

namespace kelvaro {

// One text handed to the helpers: a std::string, a literal, or none at all.
class TextPart {
public:
    TextPart(const char* text) : data_(text ? text : ""), size_(text ? std::strlen(text) : 0) {}
    // Up to the first zero byte, as the Windows calls that receive it would read it.
    TextPart(const std::string& text) : data_(text.c_str()), size_(std::strlen(text.c_str())) {}

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    const char* data_;
    std::size_t size_;
};

// -1, 0 or 1: a against b, byte by byte as unsigned values, up to the first
// difference or the end of the shorter text.
int compareText(TextPart a, TextPart b);

// A new text holding the parts one after another, in order.
std::string concatTexts(std::initializer_list<TextPart> parts);

}  // namespace kelvaro
