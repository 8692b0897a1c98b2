// Files on the real file system, as the Windows tests set them up and read them back.
#pragma once

#include <string>

namespace kelvaro::testing {

// The folder that holds the running program, without a trailing backslash.
std::string programFolder();

// Removes path and, for a folder, everything in it, whatever their attributes.
void removeTree(const std::string& path);

// Creates path holding exactly bytes; false when it cannot.
bool writeBytes(const std::string& path, const std::string& bytes);
// The whole content of path; "<unreadable>" when it cannot be read.
std::string readBytes(const std::string& path);

// The Unix path Wine maps a "Z:\..." path to; for ASCII paths (Unix names are
// UTF-8, Windows names here GBK).
std::string unixPath(const std::string& windowsPath);

}  // namespace kelvaro::testing
