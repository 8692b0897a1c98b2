// The look's pictures, painted into a memory bitmap, and its recognition table.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>

#include "xp_controls.h"
#include "xp_paint.h"
#include "xp_test_support.h"

namespace kelvaro {
namespace {

using xptest::colourText;

constexpr COLORREF kFrame = RGB(123, 158, 189);
constexpr COLORREF kButtonBorder = RGB(0, 60, 115);
constexpr COLORREF kOutside = RGB(10, 200, 30);  // a colour no picture uses

// A 32-bit memory bitmap to paint into, filled with kOutside.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        clear();
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void clear() {
        HBRUSH brush = CreateSolidBrush(kOutside);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    HDC dc() const { return dc_; }
    RECT rect() const { return RECT{0, 0, width_, height_}; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
    // The leftmost and topmost pixel of the given colour, or (-1, -1).
    POINT firstOf(COLORREF colour) const {
        POINT p{-1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) == colour) {
                    if (p.x < 0 || x < p.x) p.x = x;
                    if (p.y < 0 || y < p.y) p.y = y;
                }
        return p;
    }
    // The leftmost and topmost dark pixel (text), or (-1, -1).
    POINT firstDark() const {
        POINT p{-1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (isDark(at(x, y))) {
                    if (p.x < 0 || x < p.x) p.x = x;
                    if (p.y < 0 || y < p.y) p.y = y;
                }
        return p;
    }
    int countDark() const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += isDark(at(x, y));
        return n;
    }
    static bool isDark(COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; }
    int count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += at(x, y) == colour;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

#define EXPECT_COLOUR(expected, actual) EXPECT_EQ(colourText(expected), colourText(actual))

TEST(XpColours, DisabledColourIs32DarkerPerChannelAndStopsAtBlack) {
    struct Case {
        COLORREF face, disabled;
    } cases[] = {
        {RGB(212, 208, 200), RGB(180, 176, 168)},  // the classic button face
        {RGB(236, 233, 216), RGB(204, 201, 184)},  // the XP button face
        {RGB(255, 255, 255), RGB(223, 223, 223)},
        {RGB(32, 32, 32), RGB(0, 0, 0)},
        // A dark face must not borrow across channels into a wrong colour.
        {RGB(0x10, 0x40, 0x00), RGB(0x00, 0x20, 0x00)},
        {RGB(0, 0, 0), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) EXPECT_COLOUR(c.disabled, xpDisabledColour(c.face)) << colourText(c.face);
    EXPECT_COLOUR(xpDisabledColour(GetSysColor(COLOR_BTNFACE)), xpDisabledColour());
}

TEST(XpColours, SchemeOneHasTheFrameAndBorderColours) {
    EXPECT_COLOUR(kFrame, xpSchemeColours(1).frame);
    EXPECT_COLOUR(kButtonBorder, xpSchemeColours(1).buttonBorder);
}

TEST(XpFieldFrame, OuterFrameInSchemeColourInnerByState) {
    struct Case {
        unsigned state;
        COLORREF outer, inner;
    } cases[] = {
        {0, kFrame, GetSysColor(COLOR_WINDOW)},
        {kXpFocused | kXpMouseOver, kFrame, GetSysColor(COLOR_WINDOW)},
        {kXpReadOnly, kFrame, GetSysColor(COLOR_BTNFACE)},
        {kXpDisabled, xpDisabledColour(), GetSysColor(COLOR_BTNFACE)},
        {kXpDisabled | kXpReadOnly, xpDisabledColour(), GetSysColor(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        Canvas canvas(40, 23);
        paintXpFieldFrame(canvas.dc(), canvas.rect(), c.state);
        SCOPED_TRACE(c.state);
        for (POINT p : {POINT{0, 0}, POINT{20, 0}, POINT{39, 11}, POINT{20, 22}, POINT{0, 22}})
            EXPECT_COLOUR(c.outer, canvas.at(p.x, p.y)) << p.x << "," << p.y;
        for (POINT p : {POINT{1, 1}, POINT{20, 1}, POINT{38, 11}, POINT{20, 21}, POINT{1, 11}})
            EXPECT_COLOUR(c.inner, canvas.at(p.x, p.y)) << p.x << "," << p.y;
        // The inside is the control's own.
        EXPECT_COLOUR(kOutside, canvas.at(20, 11));
    }
}

COLORREF paintButton(Canvas& canvas, unsigned state, POINT at, const XpButtonLabel& label = {}) {
    canvas.clear();
    paintXpPushButton(canvas.dc(), canvas.rect(), state, label, kOutside);
    return canvas.at(at.x, at.y);
}

TEST(XpPushButton, RoundedBorderInTheButtonBorderColour) {
    Canvas canvas(83, 33);
    paintButton(canvas, 0, {0, 0});
    for (POINT p : {POINT{2, 0}, POINT{41, 0}, POINT{80, 0}, POINT{0, 16}, POINT{82, 16}, POINT{41, 32},
                    POINT{1, 1}, POINT{81, 31}})
        EXPECT_COLOUR(kButtonBorder, canvas.at(p.x, p.y)) << p.x << "," << p.y;
    // The corners are cut: the very corner shows what is behind the button.
    for (POINT p : {POINT{0, 0}, POINT{82, 0}, POINT{0, 32}, POINT{82, 32}})
        EXPECT_COLOUR(kOutside, canvas.at(p.x, p.y)) << p.x << "," << p.y;
}

TEST(XpPushButton, FaceDiffersByStateInOrderOfPrecedence) {
    Canvas canvas(83, 33);
    const POINT face{10, 16}, ring{2, 16};
    const COLORREF normal = paintButton(canvas, 0, face);
    const COLORREF hot = paintButton(canvas, kXpMouseOver, face);
    const COLORREF pressed = paintButton(canvas, kXpPressed, face);
    const COLORREF checked = paintButton(canvas, kXpChecked, face);
    EXPECT_NE(normal, hot);
    EXPECT_NE(normal, pressed);
    EXPECT_NE(hot, pressed);
    EXPECT_NE(normal, checked);
    EXPECT_NE(pressed, checked);
    // The face is a gradient: lighter at the top than at the bottom.
    paintButton(canvas, 0, face);
    EXPECT_GT(GetGValue(canvas.at(10, 3)), GetGValue(canvas.at(10, 28)));

    // Pressed wins over hot, hot over checked, checked over focused.
    EXPECT_EQ(pressed, paintButton(canvas, kXpPressed | kXpMouseOver | kXpChecked | kXpFocused, face));
    EXPECT_EQ(hot, paintButton(canvas, kXpMouseOver | kXpChecked | kXpFocused, face));
    EXPECT_EQ(checked, paintButton(canvas, kXpChecked | kXpFocused, face));

    // Hot and focused or default show a coloured ring inside the border.
    const COLORREF ringNormal = paintButton(canvas, 0, ring);
    const COLORREF ringHot = paintButton(canvas, kXpMouseOver, ring);
    const COLORREF ringFocus = paintButton(canvas, kXpFocused, ring);
    EXPECT_NE(ringNormal, ringHot);
    EXPECT_NE(ringNormal, ringFocus);
    EXPECT_NE(ringHot, ringFocus);
    EXPECT_EQ(ringFocus, paintButton(canvas, kXpDefaultButton, ring));
    EXPECT_GT(GetRValue(ringHot), GetBValue(ringHot)) << "hot is warm: " << colourText(ringHot);
    EXPECT_GT(GetBValue(ringFocus), GetRValue(ringFocus)) << "focus is blue: " << colourText(ringFocus);
}

TEST(XpPushButton, DisabledIsFlatWithTheDisabledBorder) {
    Canvas canvas(83, 33);
    for (unsigned extra : {0u, unsigned(kXpMouseOver), unsigned(kXpPressed), unsigned(kXpDefaultButton)}) {
        paintButton(canvas, kXpDisabled | extra, {0, 0});
        for (POINT p : {POINT{3, 3}, POINT{10, 16}, POINT{41, 29}, POINT{79, 3}})
            EXPECT_COLOUR(kXpDisabledFace, canvas.at(p.x, p.y)) << extra;
        EXPECT_COLOUR(xpDisabledColour(), canvas.at(41, 0));
        EXPECT_COLOUR(xpDisabledColour(), canvas.at(0, 16));
    }
}

TEST(XpPushButton, TextIsBlackAndMovesOnePixelWhilePressed) {
    Canvas canvas(83, 33);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    XpButtonLabel label;
    label.text = "II";
    label.font = font;
    // Text may be smoothed, so look for dark pixels rather than pure black.
    paintButton(canvas, 0, {0, 0}, label);
    const POINT normal = canvas.firstDark();
    paintButton(canvas, kXpPressed, {0, 0}, label);
    const POINT pressed = canvas.firstDark();
    ASSERT_GE(normal.x, 0) << "no dark text drawn";
    EXPECT_EQ(normal.x + 1, pressed.x);
    EXPECT_EQ(normal.y + 1, pressed.y);

    // Disabled and indeterminate text is grey: no dark pixels, but text there.
    for (unsigned state : {unsigned(kXpDisabled), unsigned(kXpIndeterminate)}) {
        paintButton(canvas, state, {0, 0}, label);
        EXPECT_EQ(0, canvas.countDark()) << state;
        XpButtonLabel none;
        Canvas blank(83, 33);
        paintXpPushButton(blank.dc(), blank.rect(), state, none, kOutside);
        int differing = 0;
        for (int y = 0; y < 33; ++y)
            for (int x = 0; x < 83; ++x) differing += canvas.at(x, y) != blank.at(x, y);
        EXPECT_GT(differing, 5) << "no grey text drawn, state " << state;
    }
}

TEST(XpPushButton, FocusedButtonShowsAFocusRectangle) {
    Canvas canvas(83, 33);
    // The focus rectangle's dots lie on the line three pixels in.
    auto line = [&](unsigned state) {
        paintButton(canvas, state, {0, 0});
        int changed = 0;
        for (int x = 4; x < 79; ++x) changed += canvas.at(x, 3) != canvas.at(x + 1, 3);
        return changed;
    };
    EXPECT_GT(line(kXpFocused), line(kXpDefaultButton) + 10);
}

TEST(XpCheckAndRadio, MarksFollowTheCheckState) {
    Canvas canvas(13, 13);
    const COLORREF green = RGB(33, 161, 33);
    for (bool radio : {false, true}) {
        SCOPED_TRACE(radio ? "radio button" : "check box");
        auto paint = [&](unsigned state) {
            canvas.clear();
            if (radio)
                paintXpRadioButton(canvas.dc(), canvas.rect(), state);
            else
                paintXpCheckBox(canvas.dc(), canvas.rect(), state);
        };
        paint(0);
        EXPECT_EQ(0, canvas.count(green));
        EXPECT_LT(GetGValue(canvas.at(6, 2)), GetGValue(canvas.at(6, 10))) << "the interior lightens downwards";
        paint(kXpChecked);
        EXPECT_GT(canvas.count(green), 8);
        paint(kXpChecked | kXpDisabled);
        EXPECT_EQ(0, canvas.count(green));
        paint(kXpMouseOver);
        const COLORREF hot = canvas.at(radio ? 6 : 1, radio ? 1 : 6);
        paint(0);
        EXPECT_NE(hot, canvas.at(radio ? 6 : 1, radio ? 1 : 6));
    }
    // The check box's frame is a square in the family's dark blue.
    paintXpCheckBox(canvas.dc(), canvas.rect(), 0);
    EXPECT_COLOUR(RGB(28, 81, 128), canvas.at(0, 0));
    EXPECT_COLOUR(RGB(28, 81, 128), canvas.at(12, 12));
}

TEST(XpArrowButton, GlyphAndFaceByState) {
    Canvas canvas(17, 19);
    auto glyphPixels = [&](XpArrow arrow, unsigned state, COLORREF glyph) {
        canvas.clear();
        paintXpArrowButton(canvas.dc(), canvas.rect(), state, arrow);
        return canvas.count(glyph);
    };
    for (XpArrow arrow : {XpArrow::up, XpArrow::down, XpArrow::left, XpArrow::right})
        EXPECT_EQ(14, glyphPixels(arrow, 0, RGB(77, 97, 133)));
    canvas.clear();
    paintXpArrowButton(canvas.dc(), canvas.rect(), 0, XpArrow::down);
    const COLORREF normal = canvas.at(3, 3);
    paintXpArrowButton(canvas.dc(), canvas.rect(), kXpPressed, XpArrow::down);
    EXPECT_NE(normal, canvas.at(3, 3));
    paintXpArrowButton(canvas.dc(), canvas.rect(), kXpMouseOver, XpArrow::down);
    EXPECT_NE(normal, canvas.at(3, 3));
}

TEST(XpGroupBox, OneRoundedFrameAndABlueCaption) {
    Canvas canvas(120, 60);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    paintXpGroupBox(canvas.dc(), canvas.rect(), 0, "Group", font, DT_LEFT, background);
    const COLORREF frame = RGB(208, 208, 191);
    EXPECT_COLOUR(frame, canvas.at(0, 30));
    EXPECT_COLOUR(background, canvas.at(1, 30)) << "the classic second line is covered";
    EXPECT_COLOUR(frame, canvas.at(60, 59));
    EXPECT_GT(canvas.count(RGB(0, 70, 213)), 5);
    EXPECT_COLOUR(kOutside, canvas.at(60, 30)) << "the inside is left alone";
}

// A sheet of every state of every picture, saved for a person to judge.
TEST(XpSheet, SavesEveryStateOfEveryPicture) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Canvas canvas(560, 150);
    HBRUSH background = CreateSolidBrush(face);
    RECT all = canvas.rect();
    FillRect(canvas.dc(), &all, background);
    DeleteObject(background);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const struct {
        const char* name;
        unsigned state;
    } states[] = {
        {"普通", 0},
        {"热点", kXpMouseOver},
        {"按下", kXpPressed | kXpMouseOver},
        {"选中", kXpChecked},
        {"焦点", kXpFocused},
        {"默认", kXpDefaultButton},
        {"禁用", kXpDisabled},
    };
    int x = 8;
    for (const auto& s : states) {
        XpButtonLabel label;
        label.text = s.name;
        label.font = font;
        paintXpPushButton(canvas.dc(), RECT{x, 8, x + 70, 41}, s.state, label, face);
        paintXpFieldFrame(canvas.dc(), RECT{x, 50, x + 70, 73}, s.state | (s.state == kXpChecked ? unsigned(kXpReadOnly) : 0u));
        paintXpCheckBox(canvas.dc(), RECT{x, 82, x + 13, 95}, s.state);
        paintXpCheckBox(canvas.dc(), RECT{x + 18, 82, x + 31, 95},
                        s.state == kXpChecked ? unsigned(kXpIndeterminate) : s.state | kXpChecked);
        paintXpRadioButton(canvas.dc(), RECT{x + 36, 82, x + 49, 95}, s.state | kXpChecked);
        paintXpArrowButton(canvas.dc(), RECT{x, 104, x + 17, 123}, s.state, XpArrow::down);
        paintXpArrowButton(canvas.dc(), RECT{x + 20, 104, x + 36, 113}, s.state, XpArrow::up);
        paintXpArrowButton(canvas.dc(), RECT{x + 20, 113, x + 36, 123}, s.state, XpArrow::down);
        x += 78;
    }
    paintXpGroupBox(canvas.dc(), RECT{8, 126, 200, 148}, 0, "分组框", font, DT_LEFT, face);
    EXPECT_TRUE(xptest::savePicture(canvas.dc(), 560, 150, "xp_states.bmp"));
}

// The recognition table: class names without regard to case, and styles.
TEST(XpRecognition, Table) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    struct Row {
        const char* cls;
        DWORD style;
        bool hasText;
        const char* parent;
        bool handled;
        XpKind kind;
    } rows[] = {
        {"Button", child | BS_PUSHBUTTON, true, "WTWindow", true, XpKind::pushButton},
        {"BUTTON", child | BS_DEFPUSHBUTTON, true, "#32770", true, XpKind::pushButton},
        {"button", child | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP, true, "",
         true, XpKind::pushButton},
        {"Button", child | BS_PUSHBUTTON | BS_BITMAP, true, "", false, XpKind::pushButton},
        {"Button", child | BS_CHECKBOX | BS_BITMAP, true, "", false, XpKind::pushButton},
        // A textless tab stop of exactly this style is left alone...
        {"Button", WS_CHILD | WS_TABSTOP, false, "", false, XpKind::pushButton},
        // ...but not with text, another style bit, or as a default button.
        {"Button", WS_CHILD | WS_TABSTOP, true, "", true, XpKind::pushButton},
        {"Button", WS_CHILD | WS_TABSTOP | WS_VISIBLE, false, "", true, XpKind::pushButton},
        {"Button", WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, false, "", true, XpKind::pushButton},
        {"Button", child | BS_CHECKBOX, true, "", true, XpKind::checkBox},
        {"Button", child | BS_AUTOCHECKBOX, true, "", true, XpKind::checkBox},
        {"Button", child | BS_3STATE, true, "", true, XpKind::checkBox},
        {"Button", child | BS_AUTO3STATE, true, "", true, XpKind::checkBox},
        {"Button", child | BS_AUTOCHECKBOX | BS_PUSHLIKE, true, "", true, XpKind::pushButton},
        {"Button", child | BS_RADIOBUTTON, true, "", true, XpKind::radioButton},
        {"Button", child | BS_AUTORADIOBUTTON, true, "", true, XpKind::radioButton},
        {"Button", child | BS_AUTORADIOBUTTON | BS_PUSHLIKE, true, "", true, XpKind::pushButton},
        {"Button", child | BS_GROUPBOX, true, "", true, XpKind::groupBox},
        {"Button", child | BS_USERBUTTON, true, "", false, XpKind::pushButton},
        {"Button", child | BS_PUSHBOX, true, "", false, XpKind::pushButton},
        {"Button", child | BS_OWNERDRAW, true, "", false, XpKind::pushButton},
        {"Edit", child | ES_READONLY, false, "WTWindow", true, XpKind::edit},
        {"EDIT", child, false, "ComboBox", true, XpKind::edit},
        {"Edit", child, false, "SysIPAddress32", false, XpKind::edit},
        {"Edit", child, false, "sysipaddress32", false, XpKind::edit},
        {"ComboBox", child | CBS_DROPDOWN, false, "", true, XpKind::comboBox},
        {"combobox", child | CBS_DROPDOWNLIST, false, "", true, XpKind::comboBox},
        {"ComboBox", child | CBS_SIMPLE, false, "", false, XpKind::comboBox},
        {"msctls_updown32", child, false, "", true, XpKind::upDown},
        {"ComboLBox", WS_POPUP | WS_BORDER, false, "", true, XpKind::comboList},
        {"ScrollBar", child, false, "", false, XpKind::pushButton},
        {"SysMonthCal32", child, false, "", false, XpKind::pushButton},
        {"SysTabControl32", child, false, "", false, XpKind::pushButton},
        {"msctls_progress32", child, false, "", false, XpKind::pushButton},
        {"msctls_trackbar32", child, false, "", false, XpKind::pushButton},
        {"msctls_hotkey32", child, false, "", false, XpKind::pushButton},
        {"SysIPAddress32", child, false, "", false, XpKind::pushButton},
        {"ListBox", child, false, "", false, XpKind::pushButton},
        {"SysListView32", child, false, "", false, XpKind::pushButton},
        {"SysTreeView32", child, false, "", false, XpKind::pushButton},
        {"SysDateTimePick32", child, false, "", false, XpKind::pushButton},
        {"Static", child, true, "", false, XpKind::pushButton},
        {"WTWindow", WS_OVERLAPPED | WS_CAPTION, true, "", false, XpKind::pushButton},
        {"ButtonX", child, true, "", false, XpKind::pushButton},
    };
    for (const Row& row : rows) {
        XpKind kind = XpKind::comboList;
        const bool handled = recogniseXpControl(row.cls, row.style, row.hasText, row.parent, &kind);
        EXPECT_EQ(row.handled, handled) << row.cls << " style " << std::hex << row.style;
        if (row.handled && handled) {
            EXPECT_EQ(int(row.kind), int(kind)) << row.cls << " style " << std::hex << row.style;
        }
    }
}

}  // namespace
}  // namespace kelvaro
