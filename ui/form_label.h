// The form's labels: a window class of the program's own that paints one line of
// text on the button-face colour and never takes the focus.
#pragma once

#include <windows.h>

#include <string>

namespace kelvaro {

// Registers the label class once; true when it is registered.
bool registerLabelClass(HINSTANCE instance);

// A label child window. format is DT_CENTER or DT_LEFT; the font comes with WM_SETFONT
// (none set: DEFAULT_GUI_FONT).
HWND createLabel(HWND parent, int id, const char* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, UINT format);

// Paints a label's face into box on any DC.
void paintLabel(HDC dc, const RECT& box, const std::string& text, HFONT font, UINT format);

}  // namespace kelvaro
