// The running test's own folder on the real file system; real_files.h reads and
// writes the files in it.
#pragma once

#include <windows.h>

#include <string>

#include "real_files.h"

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

}  // namespace kelvaro::testing
