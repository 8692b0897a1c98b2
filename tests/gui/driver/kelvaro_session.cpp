#include "kelvaro_session.h"

namespace kelvaro::driver {

std::string kelvaroProgram() { return windowsPath(argument(1)); }
std::string artifactFolder() { return windowsPath(argument(2)); }

KelvaroSession::~KelvaroSession() {
    if (process_.running()) {
        DWORD code = 0;
        if (!close(&code)) process_.terminate();
    }
}

bool KelvaroSession::start(const std::string& currentFolder, const std::string& program) {
    if (!process_.start(program, {}, currentFolder)) return false;
    // The first program on a fresh screen also waits for Wine's desktop to start.
    window_ = waitForTopLevelWindow(process_.id(), kMainWindowClass, 2 * kDefaultTimeoutMs);
    if (!window_) return false;
    threadId_ = GetWindowThreadProcessId(window_, nullptr);
    // Ready for input once a control of the window holds the focus: the window
    // passes it on just after its activation.
    return waitForForeground(window_) &&
           waitUntil([this] { return IsChild(window_, focusOf(threadId_)); });
}

bool KelvaroSession::close(DWORD* exitCode) {
    if (window_ && IsWindow(window_)) PostMessageA(window_, WM_CLOSE, 0, 0);
    return process_.waitForExit(exitCode);
}

}  // namespace kelvaro::driver
