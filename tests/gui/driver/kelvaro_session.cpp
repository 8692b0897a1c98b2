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
    window_ = waitForTopLevelWindow(process_.id(), kMainWindowClass);
    if (!window_) return false;
    threadId_ = GetWindowThreadProcessId(window_, nullptr);
    return waitForForeground(window_);
}

bool KelvaroSession::close(DWORD* exitCode) {
    if (window_ && IsWindow(window_)) PostMessageA(window_, WM_CLOSE, 0, 0);
    return process_.waitForExit(exitCode);
}

}  // namespace kelvaro::driver
