#include "xp_controls.h"

#include <commctrl.h>

#include <string>

#include "xp_look.h"
#include "xp_paint.h"

namespace kelvaro {

namespace {

constexpr DWORD kButtonTypeMask = 0x0F;

bool isClass(const char* name, const char* wanted) { return lstrcmpiA(name, wanted) == 0; }

std::string windowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

HFONT controlFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

// The colour the parent paints behind a control, from its answer to the
// control's colour request; the button face when that is no plain colour.
COLORREF parentBackground(HWND control, HDC dc, UINT request) {
    HWND parent = GetParent(control);
    if (!parent) return GetSysColor(COLOR_BTNFACE);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH lb{};
    if (brush && GetObjectA(brush, sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_SOLID) return lb.lbColor;
    return GetSysColor(COLOR_BTNFACE);
}

bool hasBorder(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    return (style & WS_BORDER) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

// A DC of the control, or the one the caller gave.
class ControlDc {
public:
    ControlDc(HWND window, HDC given, bool wholeWindow)
        : window_(window), dc_(given), owned_(!given) {
        if (owned_) dc_ = wholeWindow ? GetWindowDC(window) : GetDC(window);
    }
    ~ControlDc() {
        if (owned_ && dc_) ReleaseDC(window_, dc_);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    bool owned_;
};

UINT buttonTextFormat(LONG style) {
    UINT format = 0;
    switch (style & BS_CENTER) {
        case BS_LEFT: format |= DT_LEFT; break;
        case BS_RIGHT: format |= DT_RIGHT; break;
        default: format |= DT_CENTER; break;
    }
    switch (style & BS_VCENTER) {
        case BS_TOP: format |= DT_TOP; break;
        case BS_BOTTOM: format |= DT_BOTTOM; break;
        default: format |= DT_VCENTER; break;
    }
    format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    return format;
}

void paintPushButton(const XpControlRecord& record, HDC dc) {
    HWND window = record.window;
    RECT rc;
    GetClientRect(window, &rc);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const std::string text = windowText(window);
    XpButtonLabel label;
    label.text = text.c_str();
    label.font = controlFont(window);
    label.format = buttonTextFormat(style);
    if (style & BS_ICON)
        label.icon = reinterpret_cast<HICON>(SendMessageA(window, BM_GETIMAGE, IMAGE_ICON, 0));
    paintXpPushButton(dc, rc, record.state, label, parentBackground(window, dc, WM_CTLCOLORBTN));
}

void paintCheckOrRadio(const XpControlRecord& record, HDC dc) {
    const RECT square = xpCheckBoxSquare(record.window, dc);
    // Cover a pixel round the square too, in case the control's own square sits
    // a pixel off ours.
    const COLORREF background = parentBackground(record.window, dc, WM_CTLCOLORSTATIC);
    HBRUSH brush = CreateSolidBrush(background);
    RECT margin{square.left - 1, square.top - 1, square.right + 1, square.bottom + 1};
    RECT client;
    GetClientRect(record.window, &client);
    IntersectRect(&margin, &margin, &client);
    FillRect(dc, &margin, brush);
    DeleteObject(brush);
    if (record.kind == XpKind::radioButton)
        paintXpRadioButton(dc, square, record.state);
    else
        paintXpCheckBox(dc, square, record.state);
}

void paintGroupBox(const XpControlRecord& record, HDC dc) {
    HWND window = record.window;
    RECT rc;
    GetClientRect(window, &rc);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    UINT align = DT_LEFT;
    if ((style & BS_CENTER) == BS_CENTER)
        align = DT_CENTER;
    else if ((style & BS_CENTER) == BS_RIGHT)
        align = DT_RIGHT;
    const std::string text = windowText(window);
    paintXpGroupBox(dc, rc, record.state, text.c_str(), controlFont(window), align,
                    parentBackground(window, dc, WM_CTLCOLORSTATIC));
}

void paintWindowFrame(const XpControlRecord& record, HDC dc) {
    RECT outer;
    GetWindowRect(record.window, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    paintXpFieldFrame(dc, outer, record.state);
}

void paintComboBox(const XpControlRecord& record, HDC dc) {
    RECT rc;
    GetClientRect(record.window, &rc);
    paintXpFieldFrame(dc, rc, record.state & ~kXpReadOnly);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(record.window, &info) || (info.stateButton & STATE_SYSTEM_INVISIBLE)) return;
    unsigned arrowState = record.state & (kXpDisabled | kXpMouseOver | kXpPressed);
    if (SendMessageA(record.window, CB_GETDROPPEDSTATE, 0, 0)) arrowState |= kXpPressed;
    paintXpArrowButton(dc, info.rcButton, arrowState, XpArrow::down);
}

void paintUpDown(const XpControlRecord& record, HDC dc) {
    HWND window = record.window;
    RECT rc;
    GetClientRect(window, &rc);
    RECT arrows = rc;
    if (record.upDownSide != XpSide::none && !record.horizontal) {
        // Aligned to its buddy edit, the control carries that edit's frame on
        // its three outer sides.
        unsigned frameState = record.state & kXpDisabled;
        auto buddy = reinterpret_cast<HWND>(SendMessageA(window, UDM_GETBUDDY, 0, 0));
        if (const XpControlRecord* edit = findXpControl(buddy))
            frameState |= edit->state & (kXpDisabled | kXpReadOnly);
        RECT extended = rc;
        if (record.upDownSide == XpSide::right) {
            extended.left -= 2;
            arrows.right -= 2;
        } else {
            extended.right += 2;
            arrows.left += 2;
        }
        arrows.top += 2;
        arrows.bottom -= 2;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        paintXpFieldFrame(dc, extended, frameState);
        RestoreDC(dc, saved);
    }
    RECT first = arrows, second = arrows;
    if (record.horizontal)
        first.right = second.left = arrows.left + (arrows.right - arrows.left) / 2;
    else
        first.bottom = second.top = arrows.top + (arrows.bottom - arrows.top) / 2;

    // The half under the cursor is hot, or pressed while the control holds the mouse.
    unsigned firstState = record.state & kXpDisabled, secondState = firstState;
    const bool holding = GetCapture() == window && GetKeyState(VK_LBUTTON) < 0;
    if (!(record.state & kXpDisabled) && ((record.state & kXpMouseOver) || holding)) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
        const unsigned flag = holding ? kXpPressed : kXpMouseOver;
        if (PtInRect(&first, cursor)) firstState |= flag;
        if (PtInRect(&second, cursor)) secondState |= flag;
    }
    paintXpArrowButton(dc, first, firstState, record.horizontal ? XpArrow::left : XpArrow::up);
    paintXpArrowButton(dc, second, secondState, record.horizontal ? XpArrow::right : XpArrow::down);
}

}  // namespace

bool recogniseXpControl(const char* className, DWORD style, bool hasText, const char* parentClass,
                        XpKind* kind) {
    if (isClass(className, "Button")) {
        if (style & BS_BITMAP) return false;
        const bool pushLike = style & BS_PUSHLIKE;
        switch (style & kButtonTypeMask) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                // A blank tab stop of this exact style is no button the user sees as one.
                if (!hasText && style == (WS_CHILD | WS_TABSTOP)) return false;
                *kind = XpKind::pushButton;
                return true;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                *kind = pushLike ? XpKind::pushButton : XpKind::checkBox;
                return true;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                *kind = pushLike ? XpKind::pushButton : XpKind::radioButton;
                return true;
            case BS_GROUPBOX:
                *kind = XpKind::groupBox;
                return true;
            default:
                return false;
        }
    }
    if (isClass(className, "Edit")) {
        if (parentClass && isClass(parentClass, "SysIPAddress32")) return false;
        *kind = XpKind::edit;
        return true;
    }
    if (isClass(className, "ComboBox")) {
        if ((style & 3) == CBS_SIMPLE) return false;
        *kind = XpKind::comboBox;
        return true;
    }
    if (isClass(className, "msctls_updown32")) {
        *kind = XpKind::upDown;
        return true;
    }
    if (isClass(className, "ComboLBox")) {
        *kind = XpKind::comboList;
        return true;
    }
    // Scroll bars, calendars, tabs, progress bars and track bars are known and
    // left as they are, like every other class.
    return false;
}

RECT xpCheckBoxSquare(HWND button, HDC dc) {
    RECT client;
    GetClientRect(button, &client);
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(button, GWL_EXSTYLE);
    const int width = 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
    const int height = 12 * GetDeviceCaps(dc, LOGPIXELSY) / 96 + 1;

    RECT box = client;
    if ((style & BS_LEFTTEXT) || (exStyle & WS_EX_RIGHT))
        box.left = box.right - width;
    else
        box.right = box.left + width;

    // The square follows the text's line, as the button control places it.
    const std::string text = windowText(button);
    if (!text.empty()) {
        const int saved = SaveDC(dc);
        if (HFONT font = controlFont(button)) SelectObject(dc, font);
        int charWidth = 0;
        GetCharWidthA(dc, '0', '0', &charWidth);
        RECT need{0, 0, client.right - width - charWidth / 2, 0};
        DrawTextA(dc, text.c_str(), -1, &need,
                  DT_CALCRECT | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE));
        RestoreDC(dc, saved);
        const int textHeight = need.bottom - need.top;
        switch (style & BS_VCENTER) {
            case BS_TOP: box.top = client.top + 1; break;
            case BS_BOTTOM: box.top = client.bottom - 1 - textHeight; break;
            default: box.top = client.top + (client.bottom - client.top - textHeight) / 2; break;
        }
        box.bottom = box.top + textHeight;
    }
    const int delta = (box.bottom - box.top) - height;
    if (style & BS_TOP) {  // BS_VCENTER includes this bit, and the control treats it so
        if (delta <= 0) box.top -= -delta / 2 + 1;
        box.bottom = box.top + height;
    } else if (style & BS_BOTTOM) {
        if (delta <= 0) box.bottom += -delta / 2 + 1;
        box.top = box.bottom - height;
    } else if (delta > 0) {
        box.bottom -= delta / 2 + 1;
        box.top = box.bottom - height;
    } else if (delta < 0) {
        box.top -= -delta / 2 + 1;
        box.bottom = box.top + height;
    }
    return box;
}

void paintXpControl(const XpControlRecord& record, HDC given, bool nonClient) {
    HWND window = record.window;
    if (!given && !IsWindowVisible(window)) return;
    switch (record.kind) {
        case XpKind::edit:
            if (!hasBorder(window)) return;
            [[fallthrough]];
        case XpKind::comboList: {
            if (given && !nonClient) return;  // the frame lies outside the client area
            ControlDc dc(window, given, true);
            if (dc.get()) paintWindowFrame(record, dc.get());
            return;
        }
        default:
            break;
    }
    if (given && nonClient) return;  // the other kinds paint in their client area
    ControlDc dc(window, given, false);
    if (!dc.get()) return;
    const int saved = SaveDC(dc.get());
    switch (record.kind) {
        case XpKind::pushButton: paintPushButton(record, dc.get()); break;
        case XpKind::checkBox:
        case XpKind::radioButton: paintCheckOrRadio(record, dc.get()); break;
        case XpKind::groupBox: paintGroupBox(record, dc.get()); break;
        case XpKind::comboBox: paintComboBox(record, dc.get()); break;
        case XpKind::upDown: paintUpDown(record, dc.get()); break;
        default: break;
    }
    RestoreDC(dc.get(), saved);
}

}  // namespace kelvaro
