// Files and folders for the tests that run against the real file system.
#pragma once

#include <windows.h>

#include <string>

namespace kelvaro::testing {

// A folder of its own for the running test, inside the build tree next to the
// test program: Wine keeps the hidden and system attributes in an extended
// attribute, which a tmpfs folder may not keep. Created empty, removed with
// everything in it when the test passed (left for a look when it failed).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Full Windows path, e.g. "Z:\...\scratch\Suite.Test".
    const std::string& path() const { return path_; }
    // path() + "\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

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
