// The pictures of the XP look. Each function paints one part of a control into
// any DC, so the same code draws on screen and into a memory bitmap.
#pragma once

#include <windows.h>

namespace kelvaro {

// The state of a control as the look paints it; several flags combine.
enum XpStateFlag : unsigned {
    kXpDisabled = 0x01,
    kXpFocused = 0x02,
    kXpMouseOver = 0x04,
    kXpPressed = 0x08,
    kXpDefaultButton = 0x10,
    kXpChecked = 0x20,
    kXpIndeterminate = 0x40,
    kXpReadOnly = 0x80,
};

// The two colours a scheme chooses; everything else is a family around them.
struct XpSchemeColours {
    COLORREF frame;         // edits and drop-down lists
    COLORREF buttonBorder;  // push buttons
};

// Scheme 1 is the only one; any other number paints like it.
XpSchemeColours xpSchemeColours(int scheme);
// The scheme the painting functions use from now on.
void useXpScheme(int scheme);

// A disabled control's frame and border: the button face 32 darker in each of
// red, green and blue, never below 0.
COLORREF xpDisabledColour(COLORREF buttonFace);
COLORREF xpDisabledColour();  // of the system's button face

// The flat fill of a disabled push button and the grey of disabled text.
constexpr COLORREF kXpDisabledFace = RGB(245, 244, 234);
constexpr COLORREF kXpDisabledText = RGB(161, 161, 146);

// What a push button shows on its face.
struct XpButtonLabel {
    const char* text = nullptr;  // ANSI; '&' marks a mnemonic
    HFONT font = nullptr;        // null: the DC's font
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    HICON icon = nullptr;  // drawn centred instead of the text when set
};

// A push button filling rc: rounded one-pixel border, gradient face by state,
// label. outside is the colour behind the rounded-off corners.
void paintXpPushButton(HDC dc, const RECT& rc, unsigned state, const XpButtonLabel& label,
                       COLORREF outside);

// The one-pixel frame of an edit, combo box or drop-down list along rc's edge,
// and the one-pixel frame inside it.
void paintXpFieldFrame(HDC dc, const RECT& rc, unsigned state);

// The square of a check box and the circle of a radio button, box being the
// square they fill (13 x 13 at 96 dots per inch).
void paintXpCheckBox(HDC dc, const RECT& box, unsigned state);
void paintXpRadioButton(HDC dc, const RECT& box, unsigned state);

// A group box filling rc: a rounded frame from the middle of the caption's line
// down, and the caption. background is the colour of the group's parent;
// align is DT_LEFT, DT_CENTER or DT_RIGHT.
void paintXpGroupBox(HDC dc, const RECT& rc, unsigned state, const char* text, HFONT font,
                     UINT align, COLORREF background);

enum class XpArrow { up, down, left, right };

// An arrow button of a combo box or an up-down control filling rc.
void paintXpArrowButton(HDC dc, const RECT& rc, unsigned state, XpArrow arrow);

}  // namespace kelvaro
