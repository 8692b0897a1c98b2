// What the handlers' tests need beyond the window tests' driver library
// (gui_driver.h): the exact pointer place, single mouse and key halves, and the
// insides of the shell's dialogs. These work on windows of the test's own
// process and of the program's alike.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui_driver.h"

namespace kelvaro::testing {

// Moves the pointer to (x, y) on the screen and waits until it stays there.
bool placePointer(int x, int y);
void mouseButton(DWORD flag);  // MOUSEEVENTF_LEFTDOWN and so on, where the pointer is
void pressKey(WORD key, bool down);

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
