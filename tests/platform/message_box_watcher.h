// Finds a message box the way a user meets it, reads it and presses its OK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace kelvaro::testing {

// What the user saw in one message box.
struct SeenMessageBox {
    bool found = false;
    std::string title;
    std::string text;    // the Static with id 0xFFFF
    HICON icon = nullptr;  // the icon Static's icon, in the box's process
    RECT iconPlace = {};   // where that icon is on the screen
    bool closed = false;   // gone after OK was pressed
};

// Watches from a thread of its own for a message box (dialog class "#32770") of
// the given process, and of the given thread when threadId is not 0. While the
// box is up it runs whileShown, then presses OK and waits for the box to go.
class MessageBoxWatcher {
public:
    MessageBoxWatcher(DWORD processId, DWORD threadId,
                      std::function<void(HWND box, SeenMessageBox& seen)> whileShown = {},
                      DWORD deadlineMilliseconds = 20000);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Waits for the watch to end and gives what was seen.
    const SeenMessageBox& result();

private:
    void watch();

    DWORD processId_;
    DWORD threadId_;
    std::function<void(HWND, SeenMessageBox&)> whileShown_;
    DWORD deadline_;
    SeenMessageBox seen_;
    std::thread thread_;
};

}  // namespace kelvaro::testing
