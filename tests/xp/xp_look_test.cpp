// The look on real windows under Wine: a form with every kind of control, the
// hook on message boxes and the common dialogs, the records' life, and
// screenshots for a person to judge.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "xp_controls.h"
#include "xp_look.h"
#include "xp_paint.h"
#include "xp_test_support.h"

namespace kelvaro {
namespace {

using xptest::clientPixel;
using xptest::colourText;
using xptest::pumpPending;
using xptest::pumpUntil;
using xptest::windowPixel;

constexpr COLORREF kFrame = RGB(123, 158, 189);
constexpr COLORREF kButtonBorder = RGB(0, 60, 115);

#define EXPECT_COLOUR(expected, actual) EXPECT_EQ(colourText(expected), colourText(actual))

// A label of a private class, painting itself like the main window's labels.
LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT rc;
        GetClientRect(window, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        char text[64] = "";
        GetWindowTextA(window, text, sizeof text);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(window, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClasses() {
    WNDCLASSA form{};
    form.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    form.lpfnWndProc = formProcedure;
    form.hInstance = GetModuleHandleA(nullptr);
    form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    form.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    form.lpszClassName = "XpTestForm";
    RegisterClassA(&form);
    WNDCLASSA label = form;
    label.lpfnWndProc = labelProcedure;
    label.lpszClassName = "XpTestLabel";
    RegisterClassA(&label);
}

HWND child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0, int id = 0) {
    HWND window = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return window;
}

constexpr DWORD kButtonStyle = WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kEditStyle = WS_CLIPSIBLINGS | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;

// The form the tests look at, made before the look is turned on, as the main
// window's controls are.
struct Form {
    HWND window;
    HWND setButton, defaultButton, disabledButton, browseButton;
    HWND readOnlyEdit, tipEdit;
    HWND checkBox, triState, radio, group, combo, spinEdit, upDown;
    HWND label, staticText, simpleCombo, ownerDrawButton, bitmapButton, blankButton, listBox;
    std::map<HWND, LONG> procedureBefore;
};

Form form;

void buildForm() {
    registerClasses();
    // No WS_CLIPCHILDREN, unlike the main window: the group box leaves its
    // inside to the parent's background.
    form.window = CreateWindowExA(0, "XpTestForm", "Kelvaro XP look", WS_OVERLAPPED | WS_CAPTION, 60, 60, 480, 330,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND w = form.window;
    form.setButton = child(w, "BUTTON", "设置", kButtonStyle, 13, 13, 83, 33);
    form.defaultButton = child(w, "BUTTON", "确定", kButtonStyle | BS_DEFPUSHBUTTON, 113, 13, 83, 33);
    form.disabledButton = child(w, "BUTTON", "消除", kButtonStyle | WS_DISABLED, 213, 13, 83, 33);
    form.browseButton = child(w, "BUTTON", "。。。", kButtonStyle, 313, 18, 53, 23);
    form.readOnlyEdit = child(w, "EDIT", "C:\\图片\\tavik.ico", kEditStyle | ES_READONLY, 13, 63, 183, 23,
                              WS_EX_CLIENTEDGE);
    form.tipEdit = child(w, "EDIT", "Kelvaro", kEditStyle, 213, 63, 183, 23, WS_EX_CLIENTEDGE);
    form.checkBox = child(w, "BUTTON", "复选框", BS_AUTOCHECKBOX | WS_TABSTOP, 13, 103, 110, 20);
    SendMessageA(form.checkBox, BM_SETCHECK, BST_CHECKED, 0);
    form.triState = child(w, "BUTTON", "三态", BS_AUTO3STATE | WS_TABSTOP, 133, 103, 90, 20);
    SendMessageA(form.triState, BM_SETCHECK, BST_INDETERMINATE, 0);
    form.radio = child(w, "BUTTON", "单选", BS_AUTORADIOBUTTON | WS_TABSTOP, 233, 103, 90, 20);
    SendMessageA(form.radio, BM_SETCHECK, BST_CHECKED, 0);
    form.group = child(w, "BUTTON", "分组框", BS_GROUPBOX, 13, 133, 190, 60);
    form.combo = child(w, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 223, 143, 173, 200);
    for (const char* item : {"图标文件（ico）", "图片文件（jpg）"})
        SendMessageA(form.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(form.combo, CB_SETCURSEL, 0, 0);
    form.spinEdit = child(w, "EDIT", "5", kEditStyle | ES_NUMBER, 223, 183, 90, 23, WS_EX_CLIENTEDGE);
    form.upDown = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_ALIGNRIGHT |
                                  UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0, w, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    form.label = child(w, "XpTestLabel", "图标：", WS_CLIPSIBLINGS, 13, 203, 63, 23);
    form.staticText = child(w, "STATIC", "静态文字", SS_LEFT, 93, 206, 80, 20);
    form.simpleCombo = child(w, "COMBOBOX", "", CBS_SIMPLE, 13, 233, 120, 50);
    form.ownerDrawButton = child(w, "BUTTON", "", BS_OWNERDRAW, 143, 233, 40, 23);
    form.bitmapButton = child(w, "BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 193, 233, 40, 23);
    // A textless tab stop that is nothing but WS_CHILD and WS_TABSTOP (so hidden).
    form.blankButton = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_TABSTOP, 243, 233, 40, 23, w, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    form.listBox = child(w, "LISTBOX", "", WS_BORDER, 293, 233, 100, 40);

    for (HWND control : {form.setButton, form.defaultButton, form.disabledButton, form.browseButton,
                         form.readOnlyEdit, form.tipEdit, form.checkBox, form.triState, form.radio, form.group,
                         form.combo, form.spinEdit, form.upDown, form.label, form.staticText, form.simpleCombo,
                         form.ownerDrawButton, form.bitmapButton, form.blankButton, form.listBox, form.window})
        form.procedureBefore[control] = GetWindowLongA(control, GWL_WNDPROC);
}

// Builds the form, turns the look on as the main window's created event does,
// then shows the window.
class LookEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        buildForm();
        ASSERT_EQ(1, setXpLook(1));
        ShowWindow(form.window, SW_SHOW);
        SetForegroundWindow(form.window);
        UpdateWindow(form.window);
        SetFocus(form.tipEdit);
        pumpUntil([] { return IsWindowVisible(form.window) && GetForegroundWindow() == form.window; }, 5000);
        pumpPending();
    }
    void TearDown() override {
        DestroyWindow(form.window);
        pumpPending();
        OleUninitialize();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new LookEnvironment);

bool hasState(HWND window, unsigned flag) {
    const XpControlRecord* record = findXpControl(window);
    return record && (record->state & flag);
}

SIZE sizeOf(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// Moves the real mouse, so the controls see the moves Windows makes of it.
void moveMouseTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// The left button pressed or released at a point of the screen.
void leftButtonAt(POINT screen, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
}

void clickAt(POINT screen) {
    leftButtonAt(screen, true);
    leftButtonAt(screen, false);
}

POINT screenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// ---------------------------------------------------------------------------
// Which controls get the look

TEST(XpLookForm, SubclassesTheRecognisedControlsAndNothingElse) {
    struct Row {
        const char* name;
        HWND window;
        bool handled;
        XpKind kind;
    } rows[] = {
        {"push button", form.setButton, true, XpKind::pushButton},
        {"default button", form.defaultButton, true, XpKind::pushButton},
        {"disabled button", form.disabledButton, true, XpKind::pushButton},
        {"browse button", form.browseButton, true, XpKind::pushButton},
        {"read-only edit", form.readOnlyEdit, true, XpKind::edit},
        {"tip edit", form.tipEdit, true, XpKind::edit},
        {"check box", form.checkBox, true, XpKind::checkBox},
        {"three-state box", form.triState, true, XpKind::checkBox},
        {"radio button", form.radio, true, XpKind::radioButton},
        {"group box", form.group, true, XpKind::groupBox},
        {"drop-down list combo", form.combo, true, XpKind::comboBox},
        {"spin edit", form.spinEdit, true, XpKind::edit},
        {"up-down", form.upDown, true, XpKind::upDown},
        {"private label", form.label, false, XpKind::edit},
        {"static text", form.staticText, false, XpKind::edit},
        {"simple combo", form.simpleCombo, false, XpKind::edit},
        {"owner-drawn button", form.ownerDrawButton, false, XpKind::edit},
        {"bitmap button", form.bitmapButton, false, XpKind::edit},
        {"blank tab stop", form.blankButton, false, XpKind::edit},
        {"list box", form.listBox, false, XpKind::edit},
        {"the window itself", form.window, false, XpKind::edit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const XpControlRecord* record = findXpControl(row.window);
        const LONG procedure = GetWindowLongA(row.window, GWL_WNDPROC);
        if (row.handled) {
            ASSERT_NE(nullptr, record);
            EXPECT_EQ(int(row.kind), int(record->kind));
            EXPECT_NE(form.procedureBefore[row.window], procedure);
            EXPECT_EQ(form.procedureBefore[row.window], reinterpret_cast<LONG>(record->previous));
        } else {
            EXPECT_EQ(nullptr, record);
            EXPECT_EQ(form.procedureBefore[row.window], procedure);
        }
    }
    // The drop-down list of the combo box is a window of its own, and gets the look too.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(form.combo, &info));
    const XpControlRecord* list = findXpControl(info.hwndList);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(int(XpKind::comboList), int(list->kind));
}

TEST(XpLookForm, RecordsStartWithTheControlsState) {
    EXPECT_TRUE(hasState(form.disabledButton, kXpDisabled));
    EXPECT_FALSE(hasState(form.setButton, kXpDisabled));
    EXPECT_TRUE(hasState(form.defaultButton, kXpDefaultButton));
    EXPECT_FALSE(hasState(form.setButton, kXpDefaultButton));
    EXPECT_TRUE(hasState(form.readOnlyEdit, kXpReadOnly));
    EXPECT_FALSE(hasState(form.tipEdit, kXpReadOnly));
    EXPECT_TRUE(hasState(form.checkBox, kXpChecked));
    EXPECT_TRUE(hasState(form.triState, kXpIndeterminate));
    EXPECT_FALSE(hasState(form.triState, kXpChecked));
    EXPECT_TRUE(hasState(form.radio, kXpChecked));
    EXPECT_EQ(DWORD(CBS_DROPDOWNLIST), findXpControl(form.combo)->comboStyle);

    // The up-down control sits right of its buddy; both records say so.
    ASSERT_EQ(form.spinEdit, reinterpret_cast<HWND>(SendMessageA(form.upDown, UDM_GETBUDDY, 0, 0)));
    EXPECT_EQ(int(XpSide::right), int(findXpControl(form.upDown)->upDownSide));
    EXPECT_EQ(int(XpSide::right), int(findXpControl(form.spinEdit)->upDownSide));
    EXPECT_FALSE(findXpControl(form.upDown)->horizontal);
}

// ---------------------------------------------------------------------------
// What the look paints on the real window

TEST(XpLookPixels, EditFramesAndTheirInnerFrames) {
    for (HWND edit : {form.readOnlyEdit, form.tipEdit}) {
        const SIZE size = sizeOf(edit);
        const bool readOnly = edit == form.readOnlyEdit;
        SCOPED_TRACE(readOnly ? "read-only edit" : "tip edit");
        for (POINT p : {POINT{0, 0}, POINT{size.cx / 2, 0}, POINT{0, size.cy / 2}, POINT{size.cx - 1, size.cy / 2},
                        POINT{size.cx / 2, size.cy - 1}})
            EXPECT_COLOUR(kFrame, windowPixel(edit, p.x, p.y)) << p.x << "," << p.y;
        const COLORREF inner = GetSysColor(readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
        for (POINT p : {POINT{1, size.cy / 2}, POINT{size.cx / 2, 1}, POINT{size.cx - 2, size.cy / 2}})
            EXPECT_COLOUR(inner, windowPixel(edit, p.x, p.y)) << p.x << "," << p.y;
    }
    // So do the combo box and its buddy-framed up-down.
    EXPECT_COLOUR(kFrame, clientPixel(form.combo, 0, 0));
    EXPECT_COLOUR(kFrame, clientPixel(form.upDown, 3, 0));
}

TEST(XpLookPixels, PushButtonBorderAndFacesByState) {
    HWND button = form.setButton;
    const SIZE size = sizeOf(button);
    const POINT face{6, size.cy / 2};
    for (POINT p : {POINT{size.cx / 2, 0}, POINT{0, size.cy / 2}, POINT{size.cx - 1, size.cy / 2},
                    POINT{size.cx / 2, size.cy - 1}})
        EXPECT_COLOUR(kButtonBorder, clientPixel(button, p.x, p.y)) << p.x << "," << p.y;
    ASSERT_FALSE(hasState(button, kXpMouseOver | kXpPressed | kXpFocused));
    const COLORREF normal = clientPixel(button, face.x, face.y);

    // The real mouse over the button makes it hot; leaving makes it normal again.
    moveMouseTo(screenPoint(button, size.cx / 2, size.cy / 2));
    ASSERT_TRUE(pumpUntil([&] { return hasState(button, kXpMouseOver); })) << "no mouse-over seen";
    const COLORREF hot = clientPixel(button, face.x, face.y);
    EXPECT_NE(colourText(normal), colourText(hot));
    moveMouseTo(screenPoint(form.window, 440, 300));
    ASSERT_TRUE(pumpUntil([&] { return !hasState(button, kXpMouseOver); })) << "no mouse-leave seen";
    EXPECT_COLOUR(normal, clientPixel(button, face.x, face.y));

    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(hasState(button, kXpPressed));
    const COLORREF pressed = clientPixel(button, face.x, face.y);
    EXPECT_NE(colourText(normal), colourText(pressed));
    EXPECT_NE(colourText(hot), colourText(pressed));
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    EXPECT_FALSE(hasState(button, kXpPressed));
    EXPECT_COLOUR(normal, clientPixel(button, face.x, face.y));

    // Held down by the real mouse, the button is pressed until released.
    const POINT middle = screenPoint(button, size.cx / 2, size.cy / 2);
    moveMouseTo(middle);
    ASSERT_TRUE(pumpUntil([&] { return hasState(button, kXpMouseOver); }));
    leftButtonAt(middle, true);
    ASSERT_TRUE(pumpUntil([&] { return hasState(button, kXpPressed); })) << "the press was not seen";
    EXPECT_COLOUR(pressed, clientPixel(button, face.x, face.y));
    leftButtonAt(middle, false);
    ASSERT_TRUE(pumpUntil([&] { return !hasState(button, kXpPressed); })) << "the release was not seen";
    EXPECT_COLOUR(hot, clientPixel(button, face.x, face.y));
    moveMouseTo(screenPoint(form.window, 440, 300));
    ASSERT_TRUE(pumpUntil([&] { return !hasState(button, kXpMouseOver); }));
    SetFocus(form.tipEdit);
}

TEST(XpLookPixels, DisabledButtonShowsTheFlatFill) {
    HWND button = form.disabledButton;
    const SIZE size = sizeOf(button);
    for (POINT p : {POINT{4, 4}, POINT{6, size.cy / 2}, POINT{size.cx - 5, size.cy - 5}})
        EXPECT_COLOUR(kXpDisabledFace, clientPixel(button, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_COLOUR(xpDisabledColour(), clientPixel(button, size.cx / 2, 0));

    // Enabling and disabling repaint at once.
    EnableWindow(button, TRUE);
    EXPECT_FALSE(hasState(button, kXpDisabled));
    EXPECT_COLOUR(kButtonBorder, clientPixel(button, size.cx / 2, 0));
    EXPECT_NE(colourText(kXpDisabledFace), colourText(clientPixel(button, 6, size.cy / 2)));
    EnableWindow(button, FALSE);
    EXPECT_TRUE(hasState(button, kXpDisabled));
    EXPECT_COLOUR(kXpDisabledFace, clientPixel(button, 6, size.cy / 2));
}

// ---------------------------------------------------------------------------
// A picture for a person to judge

TEST(XpLookShots, SavesTheFormsPicture) {
    RedrawWindow(form.window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    pumpPending();
    EXPECT_TRUE(xptest::saveWindowShot(form.window, "xp_test_window.bmp"));

    // The combo box opened, its list over the form: a picture of the screen.
    SendMessageA(form.combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(form.combo, &info);
    ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(info.hwndList) != FALSE; }));
    UpdateWindow(info.hwndList);
    RECT rc;
    GetWindowRect(form.window, &rc);
    HDC screen = GetDC(nullptr);
    HDC area = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right - rc.left, rc.bottom - rc.top);
    HGDIOBJ old = SelectObject(area, bitmap);
    BitBlt(area, 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    EXPECT_TRUE(xptest::savePicture(area, rc.right - rc.left, rc.bottom - rc.top, "xp_drop_down.bmp"));
    SelectObject(area, old);
    DeleteObject(bitmap);
    DeleteDC(area);
    ReleaseDC(nullptr, screen);
    SendMessageA(form.combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST(XpLookState, FollowsFocusReadOnlyCheckAndStyle) {
    // Focus moves from the edit to a button, whose face shows the focus ring.
    HWND button = form.browseButton;
    const SIZE size = sizeOf(button);
    const COLORREF unfocusedRing = clientPixel(button, 2, size.cy / 2);
    SetFocus(button);
    EXPECT_TRUE(hasState(button, kXpFocused));
    EXPECT_FALSE(hasState(form.tipEdit, kXpFocused));
    EXPECT_NE(colourText(unfocusedRing), colourText(clientPixel(button, 2, size.cy / 2)));
    SetFocus(form.tipEdit);
    EXPECT_TRUE(hasState(form.tipEdit, kXpFocused));
    EXPECT_FALSE(hasState(button, kXpFocused));
    EXPECT_COLOUR(unfocusedRing, clientPixel(button, 2, size.cy / 2));

    // A field made read-only gets the button-face inner frame, and loses it again.
    const int middle = sizeOf(form.tipEdit).cy / 2;
    SendMessageA(form.tipEdit, EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(hasState(form.tipEdit, kXpReadOnly));
    EXPECT_COLOUR(GetSysColor(COLOR_BTNFACE), windowPixel(form.tipEdit, 1, middle));
    SendMessageA(form.tipEdit, EM_SETREADONLY, FALSE, 0);
    EXPECT_FALSE(hasState(form.tipEdit, kXpReadOnly));
    EXPECT_COLOUR(GetSysColor(COLOR_WINDOW), windowPixel(form.tipEdit, 1, middle));

    // Check states, through the message and through a real click.
    SendMessageA(form.checkBox, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(hasState(form.checkBox, kXpChecked));
    const RECT box = [&] {
        HDC dc = GetDC(form.checkBox);
        RECT r = xpCheckBoxSquare(form.checkBox, dc);
        ReleaseDC(form.checkBox, dc);
        return r;
    }();
    const COLORREF uncheckedMiddle = clientPixel(form.checkBox, box.left + 6, box.top + 6);
    const POINT at = screenPoint(form.checkBox, box.left + 6, box.top + 6);
    moveMouseTo(at);
    ASSERT_TRUE(pumpUntil([&] { return hasState(form.checkBox, kXpMouseOver); })) << "the mouse did not arrive";
    clickAt(at);
    ASSERT_TRUE(pumpUntil([&] { return hasState(form.checkBox, kXpChecked); })) << "the click did not check the box";
    EXPECT_FALSE(hasState(form.checkBox, kXpPressed));
    EXPECT_COLOUR(RGB(33, 161, 33), clientPixel(form.checkBox, box.left + 6, box.top + 6));
    EXPECT_NE(colourText(uncheckedMiddle), colourText(clientPixel(form.checkBox, box.left + 6, box.top + 6)));
    moveMouseTo(screenPoint(form.window, 440, 300));
    pumpUntil([&] { return !hasState(form.checkBox, kXpMouseOver); });

    // A button made the default one shows it.
    SendMessageA(form.setButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(hasState(form.setButton, kXpDefaultButton));
    SendMessageA(form.setButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(hasState(form.setButton, kXpDefaultButton));
}

// ---------------------------------------------------------------------------
// The hook: controls made after the look was turned on

TEST(XpLookHook, ControlsCreatedLaterGetTheLookLabelsDoNot) {
    const int before = xpControlCount();
    HWND button = child(form.window, "BUTTON", "后来", kButtonStyle, 405, 143, 60, 23);
    HWND edit = child(form.window, "EDIT", "后来", kEditStyle, 405, 173, 60, 23, WS_EX_CLIENTEDGE);
    HWND label = child(form.window, "XpTestLabel", "标签", 0, 405, 203, 40, 23);
    HWND text = child(form.window, "STATIC", "静态", 0, 405, 233, 40, 23);
    EXPECT_EQ(before + 2, xpControlCount());
    ASSERT_NE(nullptr, findXpControl(button));
    EXPECT_EQ(int(XpKind::pushButton), int(findXpControl(button)->kind));
    ASSERT_NE(nullptr, findXpControl(edit));
    EXPECT_EQ(nullptr, findXpControl(label));
    EXPECT_EQ(nullptr, findXpControl(text));
    pumpPending();
    UpdateWindow(button);
    UpdateWindow(edit);
    EXPECT_COLOUR(kButtonBorder, clientPixel(button, 30, 0));
    EXPECT_COLOUR(kFrame, windowPixel(edit, 30, 0));
    for (HWND w : {button, edit, label, text}) DestroyWindow(w);
    EXPECT_EQ(before, xpControlCount());
}

// Runs a modal dialog and, from a timer inside its loop, calls inspect(dialog)
// once the dialog is visible and painted, then closes it with closeCommand.
class ModalProbe {
public:
    ModalProbe(std::function<void(HWND)> inspect, WPARAM closeCommand)
        : inspect_(std::move(inspect)), closeCommand_(closeCommand) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &ModalProbe::tick);
        started_ = GetTickCount();
    }
    ~ModalProbe() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }
    bool inspected() const { return inspected_; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalProbe* probe = active_;
        if (!probe || probe->busy_ || probe->closed_) return;
        HWND dialog = xptest::findThreadDialog();
        const bool late = GetTickCount() - probe->started_ > 20000;
        if (!dialog) {
            if (late) probe->closed_ = true;  // nothing to close: the test fails on inspected()
            return;
        }
        if (!IsWindowVisible(dialog) || !probe->settle(dialog)) {
            if (!late) return;
        }
        probe->busy_ = true;
        RedrawWindow(dialog, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
        probe->inspect_(dialog);
        probe->inspected_ = true;
        probe->closed_ = true;
        PostMessageA(dialog, WM_COMMAND, probe->closeCommand_, 0);
        probe->busy_ = false;
    }
    static BOOL CALLBACK countChild(HWND, LPARAM count) {
        ++*reinterpret_cast<int*>(count);
        return TRUE;
    }
    // The dialog has its controls once the child count stops changing.
    bool settle(HWND dialog) {
        int count = 0;
        EnumChildWindows(dialog, countChild, reinterpret_cast<LPARAM>(&count));
        const bool same = count == lastCount_;
        lastCount_ = count;
        stableTicks_ = same ? stableTicks_ + 1 : 0;
        return count > 0 && stableTicks_ >= 3;
    }

    static inline ModalProbe* active_ = nullptr;
    std::function<void(HWND)> inspect_;
    WPARAM closeCommand_;
    UINT_PTR timer_ = 0;
    DWORD started_ = 0;
    int lastCount_ = -1;
    int stableTicks_ = 0;
    bool busy_ = false;
    bool closed_ = false;
    bool inspected_ = false;
};

struct Descendant {
    HWND window;
    std::string cls;
    DWORD style;
};

BOOL CALLBACK addDescendant(HWND w, LPARAM list) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    reinterpret_cast<std::vector<Descendant>*>(list)->push_back(
        Descendant{w, cls, static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE))});
    return TRUE;
}

std::vector<Descendant> descendants(HWND parent) {
    std::vector<Descendant> found;
    EnumChildWindows(parent, addDescendant, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Every descendant the look recognises is subclassed, and no other; returns
// how many of each class were subclassed.
std::map<std::string, int> checkDialogControls(HWND dialog) {
    std::map<std::string, int> subclassed;
    for (const Descendant& d : descendants(dialog)) {
        char parentClass[64] = "";
        GetClassNameA(GetParent(d.window), parentClass, sizeof parentClass);
        XpKind kind;
        const bool recognised = recogniseXpControl(d.cls.c_str(), d.style, GetWindowTextLengthA(d.window) > 0,
                                                   parentClass, &kind);
        const XpControlRecord* record = findXpControl(d.window);
        EXPECT_EQ(recognised, record != nullptr) << d.cls << " style " << std::hex << d.style;
        if (record) ++subclassed[d.cls];
        if (lstrcmpiA(d.cls.c_str(), "Static") == 0) {
            EXPECT_EQ(nullptr, record) << "a label got the look";
        }
    }
    return subclassed;
}

TEST(XpLookHook, MessageBoxButtonsGetTheLook) {
    const int before = xpControlCount();
    bool looked = false;
    ModalProbe probe(
        [&](HWND box) {
            auto subclassed = checkDialogControls(box);
            EXPECT_GE(subclassed["Button"], 1);
            HWND ok = GetDlgItem(box, IDOK);
            ASSERT_NE(nullptr, ok);
            ASSERT_NE(nullptr, findXpControl(ok));
            EXPECT_NE(GetClassLongA(ok, GCL_WNDPROC), GetWindowLongA(ok, GWL_WNDPROC));
            const SIZE size = sizeOf(ok);
            EXPECT_COLOUR(kButtonBorder, clientPixel(ok, size.cx / 2, 0));
            EXPECT_TRUE(xptest::saveWindowShot(box, "xp_notice.bmp"));
            looked = true;
        },
        IDOK);
    MessageBoxA(form.window, "设置成功！", "Kelvaro", MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(probe.inspected());
    EXPECT_TRUE(looked);
    // The box's buttons are gone, and so are their records.
    EXPECT_EQ(before, xpControlCount());
}

TEST(XpLookHook, OpenFileDialogControlsGetTheLook) {
    const int before = xpControlCount();
    ModalProbe probe(
        [&](HWND dialog) {
            auto subclassed = checkDialogControls(dialog);
            EXPECT_GE(subclassed["Button"], 1);
            EXPECT_GE(subclassed["Edit"], 1);
            EXPECT_GE(subclassed["ComboBox"], 1);
            HWND ok = GetDlgItem(dialog, IDOK);
            ASSERT_NE(nullptr, findXpControl(ok));
            EXPECT_COLOUR(kButtonBorder, clientPixel(ok, sizeOf(ok).cx / 2, 0));
            HWND types = GetDlgItem(dialog, 0x470);  // the file-type box
            ASSERT_NE(nullptr, findXpControl(types));
            EXPECT_COLOUR(kFrame, clientPixel(types, 0, 0));
            EXPECT_TRUE(xptest::saveWindowShot(dialog, "xp_icon_dialog.bmp"));
        },
        IDCANCEL);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = form.window;
    ofn.lpstrFilter = "图标文件（ico）\0*.ico\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = "选择图片：";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_TRUE(probe.inspected());
    EXPECT_EQ(before, xpControlCount());
}

TEST(XpLookHook, FolderBrowserButtonsGetTheLook) {
    const int before = xpControlCount();
    ModalProbe probe(
        [&](HWND dialog) {
            auto subclassed = checkDialogControls(dialog);
            EXPECT_GE(subclassed["Button"], 2);
            HWND ok = GetDlgItem(dialog, IDOK);
            ASSERT_NE(nullptr, findXpControl(ok));
            EXPECT_COLOUR(kButtonBorder, clientPixel(ok, sizeOf(ok).cx / 2, 0));
        },
        IDCANCEL);
    BROWSEINFOA info{};
    info.hwndOwner = form.window;
    info.lpszTitle = "选择目录：";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen) CoTaskMemFree(chosen);
    EXPECT_EQ(nullptr, chosen);
    EXPECT_TRUE(probe.inspected());
    EXPECT_EQ(before, xpControlCount());
}

// ---------------------------------------------------------------------------
// Records: one per control, freed with the control

// Sees each window's last message and notes its procedure at that moment, after
// the look had its WM_DESTROY.
struct LastMessageWatch {
    static inline HWND watched = nullptr;
    static inline LONG procedureAtEnd = 0;
    static inline bool recordAtEnd = true;
    static inline HHOOK hook = nullptr;

    static LRESULT CALLBACK procedure(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code >= 0 && call->hwnd == watched && call->message == WM_NCDESTROY) {
            procedureAtEnd = GetWindowLongA(call->hwnd, GWL_WNDPROC);
            recordAtEnd = findXpControl(call->hwnd) != nullptr;
        }
        return CallNextHookEx(hook, code, wParam, lParam);
    }
    LastMessageWatch(HWND window) {
        watched = window;
        procedureAtEnd = 0;
        recordAtEnd = true;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, procedure, nullptr, GetCurrentThreadId());
    }
    ~LastMessageWatch() { UnhookWindowsHookEx(hook); }
};

TEST(XpLookRecords, DestroyingAControlPutsBackItsProcedureAndFreesItsRecord) {
    // A control subclassed by the enumeration: its procedure from before the look.
    {
        HWND button = form.browseButton;
        ASSERT_NE(nullptr, findXpControl(button));
        const int before = xpControlCount();
        LastMessageWatch watch(button);
        DestroyWindow(button);
        EXPECT_EQ(before - 1, xpControlCount());
        EXPECT_EQ(form.procedureBefore[button], LastMessageWatch::procedureAtEnd);
        EXPECT_FALSE(LastMessageWatch::recordAtEnd);
        form.browseButton = nullptr;
    }
    // A control subclassed by the hook: its class's procedure.
    {
        HWND edit = child(form.window, "EDIT", "", kEditStyle, 330, 263, 60, 23, WS_EX_CLIENTEDGE);
        ASSERT_NE(nullptr, findXpControl(edit));
        const int before = xpControlCount();
        LastMessageWatch watch(edit);
        DestroyWindow(edit);
        EXPECT_EQ(before - 1, xpControlCount());
        EXPECT_EQ(static_cast<LONG>(GetClassLongA(form.tipEdit, GCL_WNDPROC)), LastMessageWatch::procedureAtEnd);
        EXPECT_FALSE(LastMessageWatch::recordAtEnd);
    }
}

// Another subclass on top of the look's, removed after the control is gone.
LRESULT CALLBACK outerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, "XpTestPrevious"));
    if (message == WM_NCDESTROY) RemovePropA(window, "XpTestPrevious");
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

TEST(XpLookRecords, ARecordOutlivesWmDestroyWhileSomeoneElseSitsOnTop) {
    const int before = xpControlCount();
    HWND button = child(form.window, "BUTTON", "上层", kButtonStyle, 330, 233, 60, 23);
    ASSERT_EQ(before + 1, xpControlCount());
    SetPropA(button, "XpTestPrevious",
             reinterpret_cast<HANDLE>(SetWindowLongA(button, GWL_WNDPROC, reinterpret_cast<LONG>(&outerProcedure))));
    LastMessageWatch watch(button);
    DestroyWindow(button);
    // The look could not unhook itself under the other procedure: it kept
    // forwarding to the button's own procedure up to the last message.
    EXPECT_EQ(before, xpControlCount());
    EXPECT_TRUE(LastMessageWatch::recordAtEnd);
}

TEST(XpLookRecords, ManyCreateDestroyCyclesLeaveNoRecordBehind) {
    const int before = xpControlCount();
    for (int cycle = 0; cycle < 100; ++cycle) {
        HWND panel = child(form.window, "XpTestForm", "", 0, 330, 233, 120, 60);
        child(panel, "BUTTON", "按钮", kButtonStyle, 0, 0, 50, 23);
        child(panel, "EDIT", "", kEditStyle, 0, 30, 50, 23, WS_EX_CLIENTEDGE);
        child(panel, "COMBOBOX", "", CBS_DROPDOWN, 60, 0, 60, 100);  // with its edit and its list
        child(panel, "BUTTON", "", BS_AUTOCHECKBOX, 60, 30, 50, 20);
        ASSERT_EQ(before + 6, xpControlCount()) << "cycle " << cycle;
        DestroyWindow(panel);
        ASSERT_EQ(before, xpControlCount()) << "cycle " << cycle;
    }
}

}  // namespace
}  // namespace kelvaro
