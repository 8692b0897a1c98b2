#include "windows_notice_service.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace kelvaro {
namespace {

FatalCleanup fatalCleanup = nullptr;
bool endingWithFatalError = false;

// The shell is given the browser's frame as owner when one is open.
constexpr const char* kBrowserWindowTitle = "Microsoft Internet Explorer";

}  // namespace

void setFatalCleanup(FatalCleanup cleanup) { fatalCleanup = cleanup; }

void endWithFatalError(const char* message) {
    // A second fatal error while the first is reported (say, memory running out
    // in the cleanup) ends the process at once.
    if (endingWithFatalError) ExitProcess(static_cast<UINT>(-1));
    endingWithFatalError = true;

    // The notice is composed on the stack: the heap may be what failed. A message
    // too long for it is cut short rather than not shown.
    char text[2048];
    const size_t leadLength = std::strlen(kFatalErrorLead);
    const size_t room = sizeof(text) - leadLength - 3;
    size_t messageLength = strnlen(message, room);
    // Never cut a double-byte character in half.
    if (messageLength == room) {
        size_t i = 0;
        while (i < messageLength) {
            const size_t step = IsDBCSLeadByte(static_cast<BYTE>(message[i])) ? 2 : 1;
            if (i + step > messageLength) break;
            i += step;
        }
        messageLength = i;
    }
    std::memcpy(text, kFatalErrorLead, leadLength);
    std::memcpy(text + leadLength, message, messageLength);
    std::memcpy(text + leadLength + messageLength, "\r\n", 3);

    MessageBoxA(nullptr, text, kFatalErrorTitle, MB_ICONERROR);
    if (fatalCleanup != nullptr) fatalCleanup();
    ExitProcess(static_cast<UINT>(-1));
}

void WindowsNoticeService::showNotice(const std::string& text, NoticeKind kind,
                                      const std::string& title) {
    MessageBoxA(nullptr, text.c_str(), title.c_str(),
                static_cast<UINT>(kind) | MB_TASKMODAL);
}

void WindowsNoticeService::openWebPage(const std::string& path) {
    const std::string address = forumBaseAddress + path;
    const HWND owner = FindWindowExA(nullptr, nullptr, nullptr, kBrowserWindowTitle);
    ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WindowsNoticeService::reportFatalError(const std::string& message) {
    endWithFatalError(message.c_str());
}

}  // namespace kelvaro
