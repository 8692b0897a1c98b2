// Acting on windows as a user would and reading them back, from the test's
// own process or from outside the program's: mouse and keyboard through
// SendInput, texts through messages that Wine carries across processes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvaro::testing {

// Polls until ready() holds or timeoutMs has passed; the last answer of ready().
bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 20000);

// The Windows path Wine gives a Unix path ("/a/b" -> "Z:\a\b"); other paths as they are.
std::string windowsPath(const std::string& path);

// Mouse and keyboard.

// Moves the pointer to (x, y) on the screen and waits until it stays there.
bool placePointer(int x, int y);
// The centre of a window on the screen.
POINT centreOf(HWND window);
void mouseButton(DWORD flag);  // MOUSEEVENTF_LEFTDOWN and so on, where the pointer is
void click(HWND window);       // a left click in the window's middle
void pressKey(WORD key, bool down);
void tapKey(WORD key);

// Windows of any process.

std::string windowText(HWND window);  // WM_GETTEXT
void setWindowText(HWND window, const std::string& text);  // WM_SETTEXT
// The entries of a combo box's list. In the caller's own process only: across
// processes Wine hands them back in UTF-16.
std::vector<std::string> comboItems(HWND combo);
// A descendant of parent with that class whose text is text (any text when null).
HWND findDescendant(HWND parent, const char* className, const char* text = nullptr);
// Presses a dialog's button as a click would.
void pressButton(HWND dialog, int id);

// The edit line of an open-file dialog's file-name box.
HWND fileNameEdit(HWND dialog);

// Selects path in the shell's folder browser with the browser's own message
// (the path placed in the browser's process) and waits until the browser's tree
// shows it selected.
bool selectInFolderBrowser(HWND dialog, const std::string& path);

}  // namespace kelvaro::testing
