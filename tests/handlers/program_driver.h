// Running the real kelvaro.exe under a test and finding its windows from
// outside its process.
#pragma once

#include <windows.h>

#include <string>

#include "driving.h"

namespace kelvaro::testing {

// One run of the program, started with its folder as working directory and
// ended (if still running) when this goes.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& exePath);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Whether the main window came up.
    bool started() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }
    DWORD threadId() const { return threadId_; }

    // The child control with that id.
    HWND control(int id) const { return GetDlgItem(window_, id); }

    // A visible top-level window of the program with that class (and caption,
    // unless null); null when there is none.
    HWND findWindow(const char* className, const char* caption = nullptr) const;
    // The same, waiting for it to appear.
    HWND waitForWindow(const char* className, const char* caption = nullptr, int timeoutMs = 20000) const;

    // Waits for the process to end; false when it did not in time.
    bool waitForExit(DWORD& exitCode, int timeoutMs = 20000);

private:
    PROCESS_INFORMATION process_ = {};
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    bool ended_ = false;
};

// What the user saw in one message box.
struct SeenBox {
    bool found = false;
    std::string title;
    std::string text;
    // The system icon it showed (IDI_ERROR, IDI_INFORMATION, IDI_WARNING or
    // IDI_QUESTION); null when it showed none of them.
    LPCSTR icon = nullptr;
    bool closed = false;  // gone after OK
};

// Waits for a message box of the program, reads it, presses OK and waits until
// it is gone.
SeenBox answerMessageBox(const RunningProgram& program, int timeoutMs = 20000);

// The focused control of the program's GUI thread.
HWND focusOf(const RunningProgram& program);

}  // namespace kelvaro::testing
