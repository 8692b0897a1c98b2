// The shell's folder browser.
#pragma once

#include <string>

namespace kelvaro {

// Shows the classic folder browser, starting at the desktop, with title above
// its tree. The path of the folder the user confirmed, exactly as the shell gives
// it (a drive root keeps its backslash); the empty text after a cancel or for an
// item without a file-system path.
std::string browseForFolder(const std::string& title);

}  // namespace kelvaro
