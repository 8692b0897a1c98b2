// The one way start-up gives up.
#pragma once

#include <string>

namespace kelvaro {

// Shows the fatal-error box with message, releases what start-up acquired and
// ends the process with exit code -1.
[[noreturn]] void fatalStartupError(const std::string& message);

}  // namespace kelvaro
