// Helpers the look's tests share: waiting on the message loop, reading pixels,
// saving screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kelvaro::xptest {

// Runs the thread's messages until done() holds or timeoutMs passed; the result
// is done()'s last answer.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Runs the messages that are waiting now.
void pumpPending();

// A pixel of a window's client area, or of the whole window with its frame.
COLORREF clientPixel(HWND window, int x, int y);
COLORREF windowPixel(HWND window, int x, int y);

// Saves the top-left width x height pixels of a DC as a 24-bit BMP file.
bool savePicture(HDC source, int width, int height, const std::string& path);

// Saves what a window shows, frame included, as a 24-bit BMP file.
bool saveWindowShot(HWND window, const std::string& path);

// The first visible top-level window of this thread with the class "#32770"
// (dialogs and message boxes), or null.
HWND findThreadDialog();

// A description such as "RGB(0, 60, 115)" for failure messages.
std::string colourText(COLORREF colour);

}  // namespace kelvaro::xptest
