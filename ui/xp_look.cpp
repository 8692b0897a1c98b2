// The look subclasses every recognised control of the GUI thread, keeps a record
// of its state and paints its XP picture after the control has painted itself.
#include "xp_look.h"

#include <windows.h>
#include <commctrl.h>

#include "xp_controls.h"
#include "xp_paint.h"

namespace kelvaro {

namespace {

struct XpLook {
    int scheme = 0;
    HHOOK hook = nullptr;
    XpControlRecord* controls = nullptr;  // newest first
};

// Touched only on the GUI thread: the hook is that thread's and so are the
// subclassed windows.
XpLook look;

LRESULT CALLBACK xpWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

XpControlRecord* findRecord(HWND window) {
    for (XpControlRecord* r = look.controls; r; r = r->next)
        if (r->window == window) return r;
    return nullptr;
}

bool isListed(const XpControlRecord* record) {
    for (XpControlRecord* r = look.controls; r; r = r->next)
        if (r == record) return true;
    return false;
}

void unlink(XpControlRecord* record) {
    for (XpControlRecord** link = &look.controls; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            return;
        }
    }
}

void freeRecord(XpControlRecord* record) {
    unlink(record);
    HeapFree(GetProcessHeap(), 0, record);
}

bool isButtonKind(XpKind kind) {
    return kind == XpKind::pushButton || kind == XpKind::checkBox || kind == XpKind::radioButton ||
           kind == XpKind::groupBox;
}

unsigned checkState(HWND button) {
    switch (SendMessageA(button, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED: return kXpChecked;
        case BST_INDETERMINATE: return kXpIndeterminate;
        default: return 0;
    }
}

bool isDefaultButton(HWND button) {
    return (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

// Marks an up-down control and its buddy edit with the side the up-down sits on.
void pairWithBuddy(XpControlRecord& upDown) {
    upDown.upDownSide = XpSide::none;
    auto buddy = reinterpret_cast<HWND>(SendMessageA(upDown.window, UDM_GETBUDDY, 0, 0));
    XpControlRecord* edit = buddy ? findRecord(buddy) : nullptr;
    if (!edit || edit->kind != XpKind::edit) return;
    const LONG style = GetWindowLongA(upDown.window, GWL_STYLE);
    if (style & UDS_ALIGNRIGHT)
        upDown.upDownSide = XpSide::right;
    else if (style & UDS_ALIGNLEFT)
        upDown.upDownSide = XpSide::left;
    edit->upDownSide = upDown.upDownSide;
}

unsigned initialState(HWND window, XpKind kind) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    unsigned state = 0;
    if (style & WS_DISABLED) state |= kXpDisabled;
    if (GetFocus() == window) state |= kXpFocused;
    if (kind == XpKind::pushButton && isDefaultButton(window)) state |= kXpDefaultButton;
    if (isButtonKind(kind)) state |= checkState(window);
    if (kind == XpKind::edit && (style & ES_READONLY)) state |= kXpReadOnly;
    return state;
}

// Subclasses a window of this thread that the look recognises and does not yet have.
void subclass(HWND window) {
    if (!window || findRecord(window)) return;
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
    char className[64] = "";
    char parentClass[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (HWND parent = GetParent(window)) GetClassNameA(parent, parentClass, sizeof parentClass);
    XpKind kind;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if (!recogniseXpControl(className, style, GetWindowTextLengthA(window) > 0, parentClass, &kind)) return;

    auto* record = static_cast<XpControlRecord*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(XpControlRecord)));
    if (!record) return;
    record->window = window;
    record->kind = kind;
    record->state = initialState(window, kind);
    record->comboStyle = kind == XpKind::comboBox ? (style & 3) : 0;
    record->horizontal = kind == XpKind::upDown && (style & UDS_HORZ);
    record->upDownSide = XpSide::none;
    record->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(&xpWindowProcedure)));
    if (!record->previous) {
        HeapFree(GetProcessHeap(), 0, record);
        return;
    }
    record->next = look.controls;
    look.controls = record;
    if (kind == XpKind::upDown) pairWithBuddy(*record);
    if (kind == XpKind::edit) {
        // An up-down control found before its buddy edit pairs up now.
        for (XpControlRecord* r = look.controls; r; r = r->next)
            if (r->kind == XpKind::upDown && r->upDownSide == XpSide::none) pairWithBuddy(*r);
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
}

BOOL CALLBACK subclassChild(HWND window, LPARAM) {
    subclass(window);
    return TRUE;
}

BOOL CALLBACK subclassTopLevel(HWND window, LPARAM) {
    subclass(window);
    EnumChildWindows(window, subclassChild, 0);
    return TRUE;
}

LRESULT CALLBACK callWindowHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_CREATE) subclass(call->hwnd);
    }
    return CallNextHookEx(look.hook, code, wParam, lParam);
}

void trackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    _TrackMouseEvent(&track);
}

void setFlag(XpControlRecord& record, unsigned flag, bool on) {
    if (on)
        record.state |= flag;
    else
        record.state &= ~flag;
}

// Brings the record's state up to date after the control handled a message.
void updateState(XpControlRecord& record, UINT message, WPARAM wParam) {
    HWND window = record.window;
    switch (message) {
        case WM_SETFOCUS: setFlag(record, kXpFocused, true); break;
        case WM_KILLFOCUS: setFlag(record, kXpFocused, false); break;
        case WM_ENABLE: setFlag(record, kXpDisabled, !wParam); break;
        case WM_MOUSEMOVE:
            if (!(wParam & MK_LBUTTON)) {
                setFlag(record, kXpMouseOver, true);
                trackMouseLeave(window);
            }
            break;
        case WM_MOUSELEAVE: setFlag(record, kXpMouseOver, false); break;
        case WM_STYLECHANGED: {
            const LONG style = GetWindowLongA(window, GWL_STYLE);
            setFlag(record, kXpDisabled, style & WS_DISABLED);
            if (record.kind == XpKind::edit) setFlag(record, kXpReadOnly, style & ES_READONLY);
            break;
        }
        default: break;
    }
    if (isButtonKind(record.kind)) {
        switch (message) {
            case BM_SETCHECK:
            case BM_CLICK:
                record.state = (record.state & ~(kXpChecked | kXpIndeterminate)) | checkState(window);
                break;
            case BM_SETSTATE:
                setFlag(record, kXpPressed, SendMessageA(window, BM_GETSTATE, 0, 0) & BST_PUSHED);
                break;
            case BM_SETSTYLE:
                setFlag(record, kXpDefaultButton, record.kind == XpKind::pushButton && isDefaultButton(window));
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_LBUTTONUP:
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_CAPTURECHANGED:
            case WM_KILLFOCUS:
            case WM_MOUSEMOVE:  // in and out of the button while it holds the mouse
                if (message == WM_MOUSEMOVE && GetCapture() != window) break;
                // A button may press, release or check itself without sending
                // itself the messages: read back what it now is.
                setFlag(record, kXpPressed, SendMessageA(window, BM_GETSTATE, 0, 0) & BST_PUSHED);
                record.state = (record.state & ~(kXpChecked | kXpIndeterminate)) | checkState(window);
                break;
            default: break;
        }
    }
    if (record.kind == XpKind::edit && message == EM_SETREADONLY)
        setFlag(record, kXpReadOnly, GetWindowLongA(window, GWL_STYLE) & ES_READONLY);
    if (record.kind == XpKind::comboBox) {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: setFlag(record, kXpPressed, true); break;
            case WM_LBUTTONUP:
            case WM_CAPTURECHANGED:
            case WM_KILLFOCUS: setFlag(record, kXpPressed, false); break;
            case WM_PAINT:
                // The drop-down list may have taken the button's release.
                if (GetKeyState(VK_LBUTTON) >= 0) setFlag(record, kXpPressed, false);
                break;
            default: break;
        }
    }
    if (record.kind == XpKind::upDown && (message == WM_CREATE || message == UDM_SETBUDDY))
        pairWithBuddy(record);
}

// Whether the control may have drawn itself while handling the message, so the
// look has to be painted again.
bool paintsAfter(XpKind kind, UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ENABLE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
        case WM_SYSCOLORCHANGE:
            return true;
        default: break;
    }
    switch (kind) {
        case XpKind::pushButton:
        case XpKind::checkBox:
        case XpKind::radioButton:
        case XpKind::groupBox:
            return message == WM_SETTEXT || message == BM_SETCHECK || message == BM_SETSTATE ||
                   message == BM_SETSTYLE || message == BM_SETIMAGE;
        case XpKind::edit:
            return message == WM_HSCROLL || message == WM_VSCROLL || message == EM_SCROLL ||
                   message == EM_LINESCROLL || message == EM_SCROLLCARET || message == EM_SETREADONLY;
        case XpKind::comboBox:
            return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_CAPTURECHANGED ||
                   message == CB_SHOWDROPDOWN || message == CB_SETCURSEL || message == WM_KEYDOWN;
        case XpKind::comboList:
            // The list draws its items at once while the user moves through it.
            return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                   message == WM_KEYDOWN || message == WM_VSCROLL || message == WM_HSCROLL ||
                   message == WM_MOUSEWHEEL || message == WM_TIMER || message == LB_SETCURSEL ||
                   message == LB_SETTOPINDEX || message == LB_SETCARETINDEX;
        case XpKind::upDown:
            return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_CAPTURECHANGED;
    }
    return false;
}

LRESULT forwardDestroy(XpControlRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = record->window;
    WNDPROC previous = record->previous;
    const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
    if (message == WM_DESTROY) {
        if (GetWindowLongA(window, GWL_WNDPROC) == reinterpret_cast<LONG>(&xpWindowProcedure)) {
            SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(previous));
            freeRecord(record);
        } else {
            // Someone subclassed the control after us and still calls us: keep
            // forwarding until the window's very last message.
            record->destroying = true;
        }
    } else if (isListed(record)) {
        freeRecord(record);
    }
    return result;
}

LRESULT CALLBACK xpWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    XpControlRecord* record = findRecord(window);
    if (!record) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_DESTROY || message == WM_NCDESTROY) return forwardDestroy(record, message, wParam, lParam);
    if (record->destroying) return CallWindowProcA(record->previous, window, message, wParam, lParam);

    const unsigned before = record->state;
    const LRESULT result = CallWindowProcA(record->previous, window, message, wParam, lParam);
    // The control may have been destroyed while it handled the message.
    if (findRecord(window) != record) return result;
    updateState(*record, message, wParam);

    switch (message) {
        case WM_PRINTCLIENT:
            paintXpControl(*record, reinterpret_cast<HDC>(wParam), false);
            return result;
        case WM_PRINT:
            if (lParam & PRF_NONCLIENT) paintXpControl(*record, reinterpret_cast<HDC>(wParam), true);
            return result;
        case WM_PAINT:
            if (wParam) {  // painted into the caller's DC
                paintXpControl(*record, reinterpret_cast<HDC>(wParam), false);
                return result;
            }
            break;
        default: break;
    }
    if (record->state != before || paintsAfter(record->kind, message)) paintXpControl(*record, nullptr, false);
    return result;
}

}  // namespace

void onMainWindowCreated() { setXpLook(1); }

int setXpLook(int scheme) {
    look.scheme = scheme;
    useXpScheme(scheme);
    EnumThreadWindows(GetCurrentThreadId(), subclassTopLevel, 0);
    if (!look.hook) look.hook = SetWindowsHookExA(WH_CALLWNDPROC, callWindowHook, nullptr, GetCurrentThreadId());
    return 1;
}

int xpControlCount() {
    int count = 0;
    for (XpControlRecord* r = look.controls; r; r = r->next) ++count;
    return count;
}

const XpControlRecord* findXpControl(HWND window) { return findRecord(window); }

}  // namespace kelvaro
