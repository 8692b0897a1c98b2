// A running Kelvaro for a driver test: started as a user would start it, its main
// window found once shown, and ended again.
#pragma once

#include <windows.h>

#include <string>

#include "gui_driver.h"
#include "main_form.h"

namespace kelvaro::driver {

// The program under test (the driver's first argument, as a Windows path) and the
// folder for screenshots and other artifacts (its second argument).
std::string kelvaroProgram();
std::string artifactFolder();

class KelvaroSession {
public:
    KelvaroSession() = default;
    KelvaroSession(const KelvaroSession&) = delete;
    KelvaroSession& operator=(const KelvaroSession&) = delete;
    // Ends the program if it still runs.
    ~KelvaroSession();

    // Starts program in currentFolder (empty: the driver's) and waits until its main
    // window is shown, in the foreground and has the focus on one of its controls.
    // False when that did not happen in time.
    bool start(const std::string& currentFolder = {}, const std::string& program = kelvaroProgram());

    HWND window() const { return window_; }
    // A control of the main window by its id (kelvaro::ControlId).
    HWND control(int id) const { return GetDlgItem(window_, id); }
    DWORD threadId() const { return threadId_; }
    Process& process() { return process_; }
    HWND focus() const { return focusOf(threadId_); }
    bool waitForFocusOn(int controlId, DWORD timeoutMs = kDefaultTimeoutMs) const {
        return waitForFocus(threadId_, control(controlId), timeoutMs);
    }

    // Sends WM_CLOSE and waits for the end; true, with the exit code, when it ended.
    bool close(DWORD* exitCode);

private:
    Process process_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace kelvaro::driver
