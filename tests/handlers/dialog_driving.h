// Driving the calling process's own modal dialogs and menus from a second
// thread, as a user would: the thread that opened them sits in their modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "driving.h"

namespace kelvaro::testing {

// A visible top-level window of the thread with that class (and caption, unless
// null); null when there is none.
HWND findThreadWindow(DWORD thread, const char* className, const char* caption = nullptr);

// Waits for such a window; null when none appeared in time.
HWND waitForThreadWindow(DWORD thread, const char* className, const char* caption = nullptr);

// Runs drive on a second thread while the calling thread runs modal() and joins
// it. Should drive give up and leave a dialog or menu of the calling thread
// open, they are cancelled, so a failing test ends instead of hanging.
void whileModal(const std::function<void()>& modal, const std::function<void(DWORD thread)>& drive);

// A plain visible top-level window of the calling thread, active, that owns the
// dialogs of a test, with one button (id 100) to hold the focus.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND hwnd() const { return window_; }
    HWND button() const { return button_; }
    // WM_COMMAND ids this window has received, in order.
    const std::vector<unsigned>& commands() const { return commands_; }
    // Handles what is queued for the thread now, without waiting.
    void pumpMessages();

private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    HWND button_ = nullptr;
    std::vector<unsigned> commands_;
};

// A folder of the build tree that a test fills and removes again.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    const std::string& path() const { return path_; }
    // Creates a file (or, when the name ends in '\', a folder) below it; its path.
    std::string add(const std::string& name, const std::string& bytes = "x");

private:
    std::string path_;
};

}  // namespace kelvaro::testing
