// NoticeService on message boxes and the shell.
#pragma once

#include "notice_service.h"

namespace kelvaro {

// Scheme and host of the maker's forum; a page's address is this followed by its path.
inline constexpr const char* forumBaseAddress = "http://bbs.kelvaro.cn";

// The fatal-error notice: its title, and the text that comes before the message.
inline constexpr const char* kFatalErrorTitle = "错误";
inline constexpr const char* kFatalErrorLead = "运行时出错!\r\n\r\n错误信息：";

// Releases what start-up acquired (OLE, windows). Start-up registers it; a fatal
// error runs it just before the process ends.
using FatalCleanup = void (*)();
void setFatalCleanup(FatalCleanup cleanup);

// Shows the fatal-error notice for message, runs the registered cleanup and ends
// the process with exit code -1. It takes nothing from the heap, so it also
// serves when memory has run out.
[[noreturn]] void endWithFatalError(const char* message);

class WindowsNoticeService : public NoticeService {
public:
    void showNotice(const std::string& text, NoticeKind kind, const std::string& title) override;
    void openWebPage(const std::string& path) override;
    [[noreturn]] void reportFatalError(const std::string& message) override;
};

}  // namespace kelvaro
