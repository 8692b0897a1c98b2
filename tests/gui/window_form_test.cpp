// The started window as a user and Windows see it: place, size, styles, every
// control of the form, the icons and what the screen shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kelvaro_suite.h"

namespace kelvaro::driver {
namespace {

constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON |
                          BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct ExpectedControl {
    int id;
    const char* name;
    const char* className;
    RECT place;  // left, top, right, bottom in the window's client area
    DWORD style;
    DWORD exStyle;
    const char* text;
};

RECT box(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// Top of the stacking order first, as the form stores them.
const std::vector<ExpectedControl> kControls = {
    {kClearButtonId, "clearButton", "Button", box(213, 183, 83, 33), kButton, 0, "消除"},
    {kVersionLabelId, "versionLabel", "WTLabel", box(353, -3, 23, 23), kLabel, 0, "v1"},
    {kBackgroundLabelId, "backgroundLabel", "WTLabel", box(13, 63, 63, 20), kLabel, 0, "背景："},
    {kSetButtonId, "setButton", "Button", box(73, 183, 83, 33), kButton, 0, "设置"},
    {kBrowseBackgroundButtonId, "browseBackgroundButton", "Button", box(283, 63, 53, 23), kButton, 0, "。。。"},
    {kBackgroundEditId, "backgroundEdit", "Edit", box(83, 63, 183, 23), kEdit | ES_READONLY, WS_EX_CLIENTEDGE, ""},
    {kTipLabelId, "tipLabel", "WTLabel", box(13, 103, 63, 23), kLabel, 0, "提示信息："},
    {kTipEditId, "tipEdit", "Edit", box(83, 103, 183, 23), kEdit, WS_EX_CLIENTEDGE, "Kelvaro"},
    {kBrowseIconButtonId, "browseIconButton", "Button", box(283, 23, 53, 23), kButton, 0, "。。。"},
    {kIconLabelId, "iconLabel", "WTLabel", box(13, 23, 63, 23), kLabel, 0, "图标："},
    {kIconEditId, "iconEdit", "Edit", box(83, 23, 183, 23), kEdit | ES_READONLY, WS_EX_CLIENTEDGE, ""},
    {kBrowseFolderButtonId, "browseFolderButton", "Button", box(283, 143, 53, 23), kButton, 0, "。。。"},
    {kFolderLabelId, "folderLabel", "WTLabel", box(13, 143, 63, 23), kLabel, 0, "应用目录："},
    {kFolderEditId, "folderEdit", "Edit", box(83, 143, 183, 23), kEdit | ES_READONLY, WS_EX_CLIENTEDGE, ""},
};

const int kEdits[] = {kFolderEditId, kIconEditId, kTipEditId, kBackgroundEditId};

bool sameClass(const std::string& actual, const char* expected) {
    return lstrcmpiA(actual.c_str(), expected) == 0;
}

// The size of a text in DEFAULT_GUI_FONT. A line's height is that of the letter W.
SIZE defaultFontExtent(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

class WindowForm : public KelvaroSuite {
protected:
    void SetUp() override { ASSERT_TRUE(IsWindow(session_->window())); }
};

TEST_F(WindowForm, WindowIsCentredFixedAndPlain) {
    HWND w = window();
    EXPECT_EQ(className(w), "WTWindow");
    EXPECT_EQ(windowText(w), "Kelvaro文件夹个性设置");

    RECT outer = windowRect(w);
    int left = (GetSystemMetrics(SM_CXSCREEN) - 380) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - 250) / 2;
    EXPECT_EQ(outer.left, left);
    EXPECT_EQ(outer.top, top);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 250);

    // Windows adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE to every captioned top-level
    // window; nothing else may be there: no system menu, no resizing frame, no
    // minimise or maximise box.
    auto style = static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE));
    EXPECT_EQ(style & ~DWORD{WS_CLIPSIBLINGS},
              DWORD{WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN | WS_VISIBLE});
    auto exStyle = static_cast<DWORD>(GetWindowLongA(w, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & ~DWORD{WS_EX_WINDOWEDGE}, 0u);

    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(w), nullptr);
    EXPECT_EQ(static_cast<UINT>(GetClassLongA(w, GCL_STYLE)), UINT{CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS});
}

TEST_F(WindowForm, EveryControlOfTheFormStandsWhereTheFormPutsIt) {
    std::vector<HWND> children = childWindows(window());
    ASSERT_EQ(children.size(), kControls.size()) << "the file dialogs and the menu leave no window";
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ExpectedControl& expected = kControls[i];
        SCOPED_TRACE(expected.name);
        HWND c = control(expected.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(children[i], c) << "stacking order";
        EXPECT_TRUE(sameClass(className(c), expected.className)) << className(c);
        RECT place = rectInParent(c);
        EXPECT_EQ(place.left, expected.place.left);
        EXPECT_EQ(place.top, expected.place.top);
        EXPECT_EQ(place.right, expected.place.right);
        EXPECT_EQ(place.bottom, expected.place.bottom);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)), expected.style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(c, GWL_EXSTYLE)), expected.exStyle);
        EXPECT_EQ(windowText(c), expected.text);
    }
}

TEST_F(WindowForm, EditBoxesStartEmptyWithTheCaretAtZeroAndNoLengthLimit) {
    for (int id : kEdits) {
        SCOPED_TRACE(id);
        HWND edit = control(id);
        EXPECT_EQ(sendMessage(edit, EM_GETSEL), 0) << "caret at 0, nothing selected";
        // EM_LIMITTEXT 0 lifts the 30000-character default.
        EXPECT_GT(static_cast<DWORD>(sendMessage(edit, EM_GETLIMITTEXT)), 0x7FFF0000u);
    }
    EXPECT_EQ(session_->focus(), control(kFolderEditId));
}

TEST_F(WindowForm, EditBoxesKeepTheirLineInTheVerticalMiddle) {
    int line = defaultFontExtent("W").cy;
    int edge = GetSystemMetrics(SM_CYEDGE);
    for (int id : kEdits) {
        SCOPED_TRACE(id);
        HWND edit = control(id);
        RECT outer = windowRect(edit);
        RECT client = clientRect(edit);
        int inner = (outer.bottom - outer.top) - 2 * edge;
        EXPECT_EQ(client.bottom - client.top, line);
        EXPECT_EQ(client.top, outer.top + edge + (inner - line) / 2);

        // The strips above and below the line belong to the border.
        POINT above = {(client.left + client.right) / 2, client.top - 1};
        POINT below = {above.x, client.bottom};
        POINT inLine = {above.x, (client.top + client.bottom) / 2};
        auto hit = [edit](POINT p) { return sendMessage(edit, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); };
        EXPECT_EQ(hit(above), HTBORDER);
        EXPECT_EQ(hit(below), HTBORDER);
        EXPECT_EQ(hit(inLine), HTCLIENT);
    }
}

// The screenshot is kept as kelvaro-window.png in the test's build folder.
TEST_F(WindowForm, ScreenShowsTheFormsColoursAndCentredTexts) {
    HWND w = window();
    RECT outer = windowRect(w);
    Image shot;
    ASSERT_TRUE(waitUntil([&] { return captureScreen(outer, shot); }));
    EXPECT_TRUE(shot.savePng(joinPath(artifactFolder(), "kelvaro-window.png")));
    POINT origin = {outer.left, outer.top};
    auto inShot = [&](HWND c) { return relativeTo(windowRect(c), origin); };
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto isFace = [face](COLORREF c) { return sameColor(c, face); };
    auto isWhite = [](COLORREF c) { return sameColor(c, RGB(255, 255, 255)); };

    // The client area's own background: spots where no control stands.
    RECT client = relativeTo(clientRect(w), origin);
    EXPECT_TRUE(isFace(shot.at(client.left + 8, client.top + 8)));
    EXPECT_TRUE(isFace(shot.at(client.left + 300, client.top + 115)));
    EXPECT_TRUE(isFace(shot.at(client.left + 200, client.top + 222)));
    // A title bar in its own colour, with no buttons at its right end (a close box
    // would show the button face there).
    int captionY = client.top - GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = client.right - 60; x < client.right - 4; x += 4) {
        SCOPED_TRACE(x);
        EXPECT_FALSE(isFace(shot.at(x, captionY)));
    }

    // White fields, the read-only ones too, and so the strips above and below the line.
    for (int id : kEdits) {
        SCOPED_TRACE(id);
        RECT field = inShot(control(id));
        RECT line = relativeTo(clientRect(control(id)), origin);
        RECT inside = {field.left + 4, field.top + 3, field.right - 4, field.bottom - 3};
        RECT top = {inside.left, inside.top, inside.right, line.top};
        RECT bottom = {inside.left, line.bottom, inside.right, inside.bottom};
        EXPECT_EQ(shot.count(top, isWhite), (top.right - top.left) * (top.bottom - top.top));
        EXPECT_EQ(shot.count(bottom, isWhite), (bottom.right - bottom.left) * (bottom.bottom - bottom.top));
        if (id == kTipEditId) {
            // "Kelvaro", centred both ways.
            ASSERT_GT(shot.count(inside, isDark), 20);
            RECT text = shot.boundsOf(inside, isDark);
            EXPECT_NEAR((text.left + text.right) / 2.0, (field.left + field.right) / 2.0, 3.0);
            EXPECT_NEAR((text.top + text.bottom) / 2.0, (field.top + field.bottom) / 2.0, 2.5);
        } else {
            // Empty: white, apart from folderEdit's blinking caret.
            EXPECT_EQ(shot.count(inside, [&](COLORREF c) { return !isWhite(c) && !isDark(c); }), 0);
        }
    }

    // Labels: black text on the button face, centred in the field labels. The
    // full-width colon leaves its right half blank, so the ink's left edge is
    // where a centred text starts.
    for (int id : {kFolderLabelId, kIconLabelId, kTipLabelId, kBackgroundLabelId}) {
        SCOPED_TRACE(id);
        RECT label = inShot(control(id));
        RECT text = shot.boundsOf(label, isDark);
        ASSERT_GT(shot.count(label, isDark), 10);
        EXPECT_TRUE(isFace(shot.at(label.left + 1, label.top + 1)));
        EXPECT_TRUE(isFace(shot.at(label.right - 2, label.bottom - 2)));
        int width = defaultFontExtent(windowText(control(id))).cx;
        EXPECT_NEAR(text.left, label.left + (label.right - label.left - width) / 2, 2);
        EXPECT_NEAR((text.top + text.bottom) / 2.0, (label.top + label.bottom) / 2.0, 2.5);
    }
    // "v1": bold and tall, from the label's left edge, tucked into the corner.
    RECT version = inShot(control(kVersionLabelId));
    version.top = std::max(version.top, client.top);
    version.right = std::min(version.right, client.right);
    RECT v1 = shot.boundsOf(version, isDark);
    ASSERT_GT(shot.count(version, isDark), 30);
    EXPECT_LE(v1.left - version.left, 3);
    EXPECT_GE(v1.bottom - v1.top, 10);
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(name)) : name);
    return TRUE;
}

// The program file carries one icon group, DEFAULT_ICON, first among its icons:
// a 32 x 32 image of 16 bits per pixel, opaque, a green glyph on white. No manifest.
TEST(ProgramFile, CarriesItsIconAndNoManifest) {
    HMODULE file = LoadLibraryExA(kelvaroProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    std::vector<std::string> groups;
    EnumResourceNamesA(file, RT_GROUP_ICON, collectName, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.front(), "DEFAULT_ICON");
    EXPECT_EQ(FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr) << "a manifest";

    HRSRC groupInfo = FindResourceA(file, "DEFAULT_ICON", RT_GROUP_ICON);
    ASSERT_NE(groupInfo, nullptr);
    auto group = static_cast<const BYTE*>(LockResource(LoadResource(file, groupInfo)));
    ASSERT_NE(group, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries.
    auto word = [](const BYTE* p) { return p[0] | (p[1] << 8); };
    ASSERT_EQ(word(group + 4), 1) << "one image";
    const BYTE* entry = group + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(word(entry + 6), 16) << "bits per pixel";
    int imageId = word(entry + 12);

    HRSRC imageInfo = FindResourceA(file, MAKEINTRESOURCEA(imageId), RT_ICON);
    ASSERT_NE(imageInfo, nullptr);
    auto image = static_cast<const BYTE*>(LockResource(LoadResource(file, imageInfo)));
    auto header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
    ASSERT_EQ(header->biWidth, 32);
    ASSERT_EQ(header->biHeight, 64);
    ASSERT_EQ(header->biBitCount, 16);
    ASSERT_EQ(header->biCompression, DWORD{BI_RGB});
    ASSERT_EQ(SizeofResource(file, imageInfo), header->biSize + 32 * 32 * 2 + 32 * 4);
    auto pixels = reinterpret_cast<const WORD*>(image + header->biSize);
    const BYTE* mask = image + header->biSize + 32 * 32 * 2;
    for (int i = 0; i < 32 * 4; ++i) ASSERT_EQ(mask[i], 0) << "every pixel opaque";

    // White, green, and the blends of the two along the glyph's edges.
    int white = 0, green = 0, other = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        int r = (pixels[i] >> 10) & 31, g = (pixels[i] >> 5) & 31, b = pixels[i] & 31;
        if (r == 31 && g == 31 && b == 31) ++white;
        else if (g > r + 8 && g > b + 4) ++green;
        else if (g < r || g < b) ++other;
    }
    EXPECT_EQ(other, 0);
    EXPECT_GT(white, 32 * 32 / 2);
    EXPECT_GT(green, 32 * 32 / 10);
    EXPECT_EQ(pixels[0], 0x7FFF) << "a white square";
    EXPECT_EQ(pixels[32 * 32 - 1], 0x7FFF);
    FreeLibrary(file);
}

}  // namespace
}  // namespace kelvaro::driver
