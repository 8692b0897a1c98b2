// The controls the XP look restyles: which ones it recognises, what it keeps
// about each, and how it paints each kind over the control's own painting.
#pragma once

#include <windows.h>

namespace kelvaro {

enum class XpKind { pushButton, checkBox, radioButton, edit, comboBox, upDown, groupBox, comboList };

// Where an up-down control sits beside its buddy edit.
enum class XpSide { none, left, right };

// One subclassed control. Records live on the process heap, newest first.
struct XpControlRecord {
    HWND window;
    XpKind kind;
    unsigned state;       // XpStateFlag values
    DWORD comboStyle;     // combo box: CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
    bool horizontal;      // up-down: UDS_HORZ
    XpSide upDownSide;    // up-down and its buddy edit: the up-down's side of the edit
    WNDPROC previous;     // put back when the control is destroyed
    bool destroying;      // destroyed while another procedure sat on top of ours
    XpControlRecord* next;
};

// Whether the look restyles a window of this class and style, and as what.
// hasText: the window has a title; parentClass: its parent's class ("" for none).
bool recogniseXpControl(const char* className, DWORD style, bool hasText, const char* parentClass,
                        XpKind* kind);

// Paints a control's look over what the control drew. dc: a DC of the whole
// window for a frame (nonClient) or of the client area, or null for the
// control's own DC.
void paintXpControl(const XpControlRecord& record, HDC dc, bool nonClient);

// The square of a check box or radio button in its client area, where the
// control itself draws it.
RECT xpCheckBoxSquare(HWND button, HDC dc);

// What the tests look at: the number of records, and a control's record or null.
int xpControlCount();
const XpControlRecord* findXpControl(HWND window);

}  // namespace kelvaro
