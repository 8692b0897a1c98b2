// The whole text of a window or control, as ANSI bytes.
#pragma once

#include <windows.h>

#include <string>

#include "text_helpers.h"

namespace kelvaro {

// A copy of the window's current text; the empty text when it has none.
std::string readWindowText(HWND window);

// Replaces the window's whole text; an edit box's limit on typed text does not
// apply here.
void writeWindowText(HWND window, TextPart text);

}  // namespace kelvaro
