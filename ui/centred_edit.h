// Single-line edit boxes whose one line of text sits in the vertical middle of
// the box: the strips above and below the line become part of the frame.
#pragma once

#include <windows.h>

namespace kelvaro {

// Subclasses the edit box so its client area is one line high and centred, and
// recomputes its frame. Call after its font is set.
bool centreEditText(HWND edit);

// Makes a single-line edit box lower than one line of its font (the height of
// "吴") plus its sunken edges that high.
void ensureEditFitsLine(HWND edit);

}  // namespace kelvaro
