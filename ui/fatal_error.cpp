#include "fatal_error.h"

#include "windows_notice_service.h"

namespace kelvaro {

void fatalStartupError(const std::string& message) {
    WindowsNoticeService().reportFatalError(message);
}

}  // namespace kelvaro
