// What only the program's own process can see: window classes, icons and fonts,
// the file dialogs' settings, the colour answers, OLE, the folder rule and the
// destroy request. Runs the real start-up, loop and shut-down in this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <utility>

#include "main_form.h"
#include "main_window.h"
#include "program.h"

namespace kelvaro {
namespace {

void expectClass(const char* name, UINT style) {
    SCOPED_TRACE(name);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc));
    EXPECT_EQ(wc.style, style);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(wc.hIcon, nullptr);
}

void expectVersionLabelFont(MainWindow& window) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window.control("versionLabel"), WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfStrikeOut);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily, DEFAULT_PITCH);
}

void expectPicker(FilePicker& picker, const char* filter) {
    SCOPED_TRACE(filter);
    EXPECT_EQ(picker.kind, 0);
    EXPECT_EQ(picker.title, "选择图片：");
    EXPECT_EQ(picker.filter, filter);
    EXPECT_TRUE(picker.fileMustExist);
    EXPECT_TRUE(picker.folderMustExist);
    EXPECT_TRUE(picker.promptOverwrite);
    EXPECT_EQ(picker.fileName(), "");
}

// Every edit box is answered black on white, the read-only ones included.
void expectWhiteFields(MainWindow& window) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (Field f : {Field::folder, Field::icon, Field::tip, Field::background}) {
        HWND edit = window.field(f);
        ASSERT_NE(edit, nullptr);
        bool readOnly = GetWindowLongA(edit, GWL_STYLE) & ES_READONLY;
        EXPECT_EQ(readOnly, f != Field::tip);
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        LRESULT brush = SendMessageA(window.hwnd(), readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                     reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
        LOGBRUSH lb = {};
        ASSERT_TRUE(GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb));
        EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    }
    DeleteDC(dc);
}

SIZE iconSize(HICON icon) {
    ICONINFO info = {};
    SIZE size = {};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    size = {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

// The program's icon at both sizes, and DEFAULT_GUI_FONT everywhere but "v1".
void expectIconsAndFonts(MainWindow& window) {
    for (auto [kind, side] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
        SCOPED_TRACE(side);
        auto icon = reinterpret_cast<HICON>(SendMessageA(window.hwnd(), WM_GETICON, kind, 0));
        ASSERT_NE(icon, nullptr);
        SIZE size = iconSize(icon);
        EXPECT_EQ(size.cx, side);
        EXPECT_EQ(size.cy, side);
    }
    auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_GETFONT, 0, 0), guiFont);
    HWND version = window.control("versionLabel");
    for (HWND c = GetWindow(window.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (c != version) {
            EXPECT_EQ(SendMessageA(c, WM_GETFONT, 0, 0), guiFont) << GetDlgCtrlID(c);
        }
}

struct InsideTheLoop {
    bool ran = false;
    HRESULT oleAgain = E_FAIL;
    bool windowSurvivedTheRequest = false;
} g_inside;

// Runs once inside the message loop, as a handler would.
void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    MainWindow* window = mainWindow();
    ASSERT_NE(window, nullptr);
    g_inside.ran = true;
    // Start-up initialised OLE for this thread already.
    g_inside.oleAgain = OleInitialize(nullptr);
    if (SUCCEEDED(g_inside.oleAgain)) OleUninitialize();
    expectClass("WTWindow", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    expectClass("WTLabel", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    expectIconsAndFonts(*window);
    expectVersionLabelFont(*window);
    expectPicker(window->iconDialog(), "图标文件（ico）|*.ico");
    expectPicker(window->imageDialog(), "图片文件（jpg）|*.jpg");
    expectWhiteFields(*window);
    EXPECT_EQ(window->field(Field::tip), GetDlgItem(window->hwnd(), kTipEditId));

    // The window goes only after the requesting handler has returned.
    window->requestDestroy();
    g_inside.windowSurvivedTheRequest = IsWindow(window->hwnd()) && mainWindow() == window;
}

TEST(MainWindowInProcess, RunsAndEndsThroughADestroyRequest) {
    ASSERT_NE(SetTimer(nullptr, 0, 1, onTimer), 0u);
    EXPECT_EQ(runProgram(), 0) << "exit code";
    EXPECT_TRUE(g_inside.ran);
    EXPECT_TRUE(g_inside.windowSurvivedTheRequest);
    EXPECT_EQ(mainWindow(), nullptr);
    EXPECT_EQ(g_inside.oleAgain, S_FALSE);
    // The shut-down released it again.
    HRESULT ole = OleInitialize(nullptr);
    EXPECT_EQ(ole, S_OK);
    if (SUCCEEDED(ole)) OleUninitialize();
}

}  // namespace
}  // namespace kelvaro
