// The XP look on the real program, seen from a separate program as a user sees
// it: the screen's pixels of the main window's fields, buttons and labels, the
// buttons under the real mouse, and the notice and file dialog the program opens.
// The program's procedures cannot be read from here under Wine (GWL_WNDPROC of
// another process reads 0), so everything is judged by what the screen shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "kelvaro_suite.h"
#include "recording_browser.h"

namespace kelvaro::driver {
namespace {

constexpr COLORREF kFrame = RGB(123, 158, 189);
constexpr COLORREF kButtonBorder = RGB(0, 60, 115);
// Generous: the machine may be busy, and a first file dialog is slow under Wine.
constexpr DWORD kDialogTimeoutMs = 30000;

const int kReadOnlyEdits[] = {kFolderEditId, kIconEditId, kBackgroundEditId};
const int kEdits[] = {kFolderEditId, kIconEditId, kTipEditId, kBackgroundEditId};
const int kButtons[] = {kSetButtonId, kClearButtonId, kBrowseFolderButtonId, kBrowseIconButtonId,
                        kBrowseBackgroundButtonId};
const int kLabels[] = {kVersionLabelId, kFolderLabelId, kIconLabelId, kTipLabelId, kBackgroundLabelId};

std::string colourText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

bool isReadOnly(int editId) {
    return std::find(std::begin(kReadOnlyEdits), std::end(kReadOnlyEdits), editId) != std::end(kReadOnlyEdits);
}

// What the screen shows of a window, frame included, read in its own coordinates.
struct Shot {
    Image image;
    POINT origin = {};

    bool take(HWND window) {
        RECT outer = windowRect(window);
        origin = {outer.left, outer.top};
        return captureScreen(outer, image);
    }
    // A window's outer rectangle, or its client area, in the shot's coordinates.
    RECT place(HWND window) const { return relativeTo(windowRect(window), origin); }
    RECT clientPlace(HWND window) const { return relativeTo(clientRect(window), origin); }
    COLORREF at(int x, int y) const { return image.at(x, y); }
};

// The caret's rectangle on screen, or an empty one when the thread shows none.
RECT caretOnScreen(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info) || !info.hwndCaret) return RECT{};
    RECT caret = info.rcCaret;
    MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
    return caret;
}

// Equal pictures of the same place, apart from what lies in ignore (screen
// coordinates).
bool samePicture(const Shot& a, const Shot& b, const RECT& ignore) {
    if (a.origin.x != b.origin.x || a.origin.y != b.origin.y || a.image.width() != b.image.width() ||
        a.image.height() != b.image.height())
        return false;
    for (int y = 0; y < a.image.height(); ++y)
        for (int x = 0; x < a.image.width(); ++x) {
            const POINT onScreen = {a.origin.x + x, a.origin.y + y};
            if (a.image.at(x, y) != b.image.at(x, y) && !PtInRect(&ignore, onScreen)) return false;
        }
    return true;
}

// The picture of a window once it has stayed the same for a while (its blinking
// caret aside), so a dialog still laying itself out or painting is not taken.
bool takeSettled(HWND window, DWORD threadId, Shot& shot, DWORD timeoutMs = kDefaultTimeoutMs) {
    Shot last;
    DWORD lastTaken = 0, sameSince = 0;
    return waitUntil([&] {
        const DWORD now = GetTickCount();
        if (lastTaken && now - lastTaken < 100) return false;
        Shot current;
        if (!current.take(window)) return false;
        RECT caret = caretOnScreen(threadId);
        InflateRect(&caret, 1, 1);
        if (!lastTaken || !samePicture(current, last, caret)) sameSince = now;
        last = current;
        lastTaken = now;
        if (now - sameSince < 600) return false;
        shot = current;
        return true;
    }, timeoutMs);
}

// One screen pixel at a point of a window's outer rectangle.
COLORREF pixelOf(HWND window, int x, int y) {
    RECT outer = windowRect(window);
    RECT one = {outer.left + x, outer.top + y, outer.left + x + 1, outer.top + y + 1};
    Image image;
    return captureScreen(one, image) ? image.at(0, 0) : CLR_INVALID;
}

// The ring just inside a hot push button's border is orange; the other states
// paint it blue or leave the face there.
bool hasHotRing(HWND button) {
    const RECT outer = windowRect(button);
    const COLORREF c = pixelOf(button, 1, (outer.bottom - outer.top) / 2);
    return c != CLR_INVALID && GetRValue(c) > GetBValue(c) + 60;
}

// A push button's face left of its text and clear of its focus rectangle.
COLORREF buttonFace(HWND button) {
    const RECT outer = windowRect(button);
    return pixelOf(button, 6, (outer.bottom - outer.top) / 2);
}

// Moves the real mouse to point and waits for condition, moving it again now and
// then (by one pixel to and fro) while it does not hold. Under Wine a control
// now and then misses a move, or loses its pushed state to a stray one while
// the button is held over it (seen here, the cursor still in the middle of the
// button); the next move always put that right. A user's hand makes many moves.
bool moveMouseUntil(POINT point, const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs) {
    int moves = 0;
    DWORD lastMove = 0;
    return waitUntil([&] {
        if (moves > 0 && condition()) return true;
        if (moves == 0 || GetTickCount() - lastMove >= 300) {
            moveMouse({point.x + moves++ % 2, point.y});
            lastMove = GetTickCount();
        }
        return false;
    }, timeoutMs);
}

// The pixels along the edge of r that are not colour; the first is described in
// where.
int edgeMismatches(const Image& image, const RECT& r, COLORREF colour, std::string* where) {
    int wrong = 0;
    auto check = [&](int x, int y) {
        const COLORREF seen = image.at(x, y);
        if (seen == colour) return;
        if (wrong++ == 0 && where)
            *where = "(" + std::to_string(x - r.left) + ", " + std::to_string(y - r.top) + ") is " + colourText(seen);
    };
    for (int x = r.left; x < r.right; ++x) {
        check(x, r.top);
        check(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        check(r.left, y);
        check(r.right - 1, y);
    }
    return wrong;
}

RECT inset(const RECT& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }
int area(const RECT& r) { return std::max(0L, r.right - r.left) * std::max(0L, r.bottom - r.top); }

// What is wrong with an edit's look in the shot, or nothing: the scheme's frame
// on its outer edge, the inner frame inside it, the strips above and below the
// centred line white (as the window answers the fields' colour requests), and no
// ink outside the line.
std::string editLookFault(const Shot& shot, HWND edit, bool readOnly) {
    const RECT outer = shot.place(edit);
    const RECT line = shot.clientPlace(edit);
    std::string where;
    if (edgeMismatches(shot.image, outer, kFrame, &where)) return "outer frame: " + where;
    const COLORREF inner = GetSysColor(readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
    if (edgeMismatches(shot.image, inset(outer, 1), inner, &where)) return "inner frame: " + where;
    auto isWhite = [](COLORREF c) { return c == RGB(255, 255, 255); };
    const RECT inside = inset(outer, 2);
    const RECT above = {inside.left, inside.top, inside.right, line.top};
    const RECT below = {inside.left, line.bottom, inside.right, inside.bottom};
    if (area(above) <= 0 || area(below) <= 0) return "the line is not narrower than the field";
    if (shot.image.count(above, isWhite) != area(above)) return "the strip above the line is not all white";
    if (shot.image.count(below, isWhite) != area(below)) return "the strip below the line is not all white";
    return {};
}

class XpRealWindow : public KelvaroSuite {
protected:
    void SetUp() override {
        ASSERT_TRUE(IsWindow(window()));
        ASSERT_TRUE(nothingOpen()) << "a dialog of an earlier test is still open";
        // The mouse rests off the window, so no control is hot.
        RECT outer = windowRect(window());
        const POINT rest = {outer.left / 2, outer.bottom + (GetSystemMetrics(SM_CYSCREEN) - outer.bottom) / 2};
        ASSERT_TRUE(moveMouseUntil(rest, [&] {
            POINT at;
            return GetCursorPos(&at) && std::abs(at.x - rest.x) <= 1 && at.y == rest.y;
        }));
        ASSERT_TRUE(waitForForeground(window()));
    }

    void TearDown() override {
        // A failed step must not leave the button held for the next test; let go
        // where nothing is clicked.
        if (GetAsyncKeyState(VK_LBUTTON) < 0) releaseMouse(emptySpot());
    }

    DWORD processId() const { return session_->process().id(); }

    // A point of the window's client area where no control stands.
    POINT emptySpot() const {
        POINT p = {300, 115};
        ClientToScreen(window(), &p);
        return p;
    }

    // Returns once the program's thread has handled what came before: a click's
    // handler has either returned or opened its modal window.
    bool settle() const {
        bool delivered = false;
        sendMessage(window(), WM_NULL, 0, 0, &delivered);
        return delivered;
    }
    bool nothingOpen() const {
        return settle() && topLevelWindows(processId(), "#32770", false).empty() && IsWindowEnabled(window());
    }

    // Presses a button with the real mouse and releases it over it, so it is
    // clicked. True once the button has taken the release, and so run the
    // click's handler up to its first wait.
    bool clickButton(HWND button) {
        const POINT middle = centreOf(windowRect(button));
        if (!moveMouseUntil(middle, [&] { return hasHotRing(button); })) return false;
        if (!pressMouse(middle)) return false;
        // Released only once the press was seen, so the click cannot be lost.
        COLORREF pressed = CLR_INVALID;
        if (!moveMouseUntil(middle, [&] { return !hasHotRing(button) && (pressed = buttonFace(button)) != CLR_INVALID; }))
            return false;
        return releaseMouse(middle) && waitUntil([&] { return buttonFace(button) != pressed; });
    }
};

// The window as started, kept as xp-main-window.png in the test's build folder.
TEST_F(XpRealWindow, FieldsShowTheSchemesFramesAroundTheirCentredLine) {
    Shot shot;
    std::string fault;
    // Polled: the window may still be painting its last control.
    const bool right = waitUntil([&] {
        if (!shot.take(window())) return false;
        for (int id : kEdits)
            if (!(fault = editLookFault(shot, control(id), isReadOnly(id))).empty()) return false;
        return true;
    });
    EXPECT_TRUE(shot.image.savePng(joinPath(artifactFolder(), "xp-main-window.png")));
    ASSERT_TRUE(right) << fault;

    // "Kelvaro" stays in the middle of the tip field, inside its line.
    HWND tip = control(kTipEditId);
    const RECT field = shot.place(tip);
    const RECT line = shot.clientPlace(tip);
    const RECT ink = shot.image.boundsOf(field, isDark);
    ASSERT_GT(shot.image.count(field, isDark), 20);
    EXPECT_GE(ink.top, line.top);
    EXPECT_LE(ink.bottom, line.bottom);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (field.left + field.right) / 2.0, 3.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (field.top + field.bottom) / 2.0, 2.5);
}

// Focus moving, typing past the field's end and scrolling back repaint the line;
// the frames and the strips stay as they were, and the text in its line.
TEST_F(XpRealWindow, FramesSurviveTypingScrollingAndFocusChanges) {
    HWND tip = control(kTipEditId);
    const std::string original = windowText(tip);
    ASSERT_TRUE(click(centreOf(windowRect(tip))));
    ASSERT_TRUE(waitForFocus(session_->threadId(), tip));
    ASSERT_TRUE(pressKey(VK_END));
    const std::string typed = " - a tip long enough to scroll the field sideways";
    ASSERT_TRUE(typeText(typed));
    ASSERT_TRUE(waitUntil([&] { return windowText(tip) == original + typed; })) << windowText(tip);

    struct Step {
        const char* name;
        WORD key;
    };
    for (const Step& step : {Step{"typed past the end", 0}, Step{"scrolled to the start", VK_HOME},
                             Step{"scrolled to the end", VK_END}}) {
        SCOPED_TRACE(step.name);
        if (step.key) {
            ASSERT_TRUE(pressKey(step.key));
        }
        Shot shot;
        std::string fault;
        const bool right = waitUntil([&] {
            if (!settle() || !shot.take(window())) return false;
            fault = editLookFault(shot, tip, false);
            // The long text runs across the line, still in the field's middle.
            const RECT field = shot.place(tip);
            const RECT line = shot.clientPlace(tip);
            const RECT ink = shot.image.boundsOf(line, isDark);
            if (fault.empty() && ink.right - ink.left < (line.right - line.left) * 4 / 5)
                fault = "the long text does not run across the line";
            if (fault.empty() && std::abs((ink.top + ink.bottom) - (field.top + field.bottom)) > 5)
                fault = "the text left the field's middle";
            return fault.empty();
        });
        EXPECT_TRUE(right) << fault;
    }

    // The focus goes to a read-only field: both frames are still the scheme's.
    HWND folder = control(kFolderEditId);
    ASSERT_TRUE(click(centreOf(windowRect(folder))));
    ASSERT_TRUE(waitForFocus(session_->threadId(), folder));
    ASSERT_TRUE(setWindowText(tip, original));
    Shot shot;
    std::string fault;
    EXPECT_TRUE(waitUntil([&] {
        if (!settle() || !shot.take(window())) return false;
        fault = editLookFault(shot, tip, false);
        if (fault.empty()) fault = editLookFault(shot, folder, true);
        return fault.empty();
    })) << fault;
}

// The labels are the program's own windows: no frame of the look in or around
// them, their text on the button face.
TEST_F(XpRealWindow, LabelsKeepTheirOwnLook) {
    Shot shot;
    ASSERT_TRUE(shot.take(window()));
    const RECT client = shot.clientPlace(window());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The scheme's colours and the rings of its buttons are all bluer than grey;
    // a label's black text and its smoothing are grey.
    auto isBluish = [](COLORREF c) { return GetBValue(c) > GetRValue(c) + 20; };
    for (int id : kLabels) {
        SCOPED_TRACE(id);
        RECT label = shot.place(control(id));
        IntersectRect(&label, &label, &client);
        RECT around = inset(label, -1);
        IntersectRect(&around, &around, &client);
        EXPECT_EQ(shot.image.count(around, isBluish), 0);
        EXPECT_EQ(shot.image.count(around, [](COLORREF c) { return c == kFrame || c == kButtonBorder; }), 0);
        // Mostly background, and the text is there.
        EXPECT_GT(shot.image.count(label, [face](COLORREF c) { return c == face; }), area(label) / 3);
        EXPECT_GT(shot.image.count(label, isDark), 10);
        EXPECT_EQ(colourText(shot.at(label.right - 1, label.bottom - 1)), colourText(face));
        // The field labels stand on the bare window, nothing drawn round them.
        std::string where;
        if (id != kVersionLabelId) {
            EXPECT_EQ(edgeMismatches(shot.image, around, face, &where), 0) << where;
        }
    }
}

// Under the real mouse each push button shows its border and a face for normal,
// hot and pressed. The press is released away from the button, so nothing is
// clicked.
TEST_F(XpRealWindow, PushButtonsFollowTheRealMouse) {
    for (int id : kButtons) {
        SCOPED_TRACE(id);
        HWND button = control(id);
        const RECT outer = windowRect(button);
        const int w = outer.right - outer.left, h = outer.bottom - outer.top;
        for (POINT p : {POINT{w / 2, 0}, POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}})
            EXPECT_EQ(colourText(pixelOf(button, p.x, p.y)), colourText(kButtonBorder)) << p.x << "," << p.y;

        auto hotRing = [&] { return hasHotRing(button); };
        auto face = [&] { return buttonFace(button); };

        COLORREF normal = CLR_INVALID;
        ASSERT_TRUE(waitUntil([&] { return !hotRing() && (normal = face()) != CLR_INVALID; }));

        const POINT middle = centreOf(outer);
        ASSERT_TRUE(moveMouseUntil(middle, hotRing)) << "no hot look under the mouse";
        const COLORREF hot = face();
        EXPECT_NE(colourText(hot), colourText(normal));

        ASSERT_TRUE(pressMouse(middle));
        COLORREF pressed = CLR_INVALID;
        ASSERT_TRUE(moveMouseUntil(middle, [&] {
            pressed = face();
            return !hotRing() && !sameColor(pressed, normal, 4) && !sameColor(pressed, hot, 4);
        })) << "no pressed look while held; face " << colourText(pressed) << ", BM_GETSTATE "
            << sendMessage(button, BM_GETSTATE);

        // Dragged off while held, the button lets go of its pressed look; the
        // release there clicks nothing.
        EXPECT_TRUE(moveMouseUntil(emptySpot(), [&] { return face() != pressed; }))
            << "still pressed after leaving, BM_GETSTATE " << sendMessage(button, BM_GETSTATE);
        ASSERT_TRUE(releaseMouse(emptySpot()));
        EXPECT_TRUE(moveMouseUntil(emptySpot(), [&] { return !hotRing() && face() == normal; }))
            << "face " << colourText(face()) << ", normal " << colourText(normal);
        EXPECT_TRUE(nothingOpen()) << "the release away from the button clicked it";
    }
}

// What the look shows of a dialog's controls in a settled picture of it: the
// border of push buttons, the frame of boxes. Empty when all is right.
std::string dialogLookFault(const Shot& shot, const std::vector<HWND>& buttons, const std::vector<HWND>& boxes) {
    for (HWND button : buttons) {
        if (!button) return "a button is missing";
        const RECT r = shot.place(button);
        for (POINT p : {POINT{(r.left + r.right) / 2, r.top}, POINT{r.left, (r.top + r.bottom) / 2}})
            if (shot.at(p.x, p.y) != kButtonBorder)
                return "the border of \"" + windowText(button) + "\" is " + colourText(shot.at(p.x, p.y));
    }
    for (HWND box : boxes) {
        if (!box) return "a box is missing";
        const RECT r = shot.clientPlace(box);
        if (shot.at(r.left, r.top) != kFrame) return className(box) + "'s frame is " + colourText(shot.at(r.left, r.top));
    }
    return {};
}

// "设置" with no folder entered shows the error notice, then sends the user to
// the help page. The notice is made after the look was turned on, and gets it.
// Kept as xp-notice.png.
TEST_F(XpRealWindow, TheNoticeOfSetGetsTheLook) {
    kelvaro::testing::RecordingBrowser browser(artifactFolder());
    ASSERT_EQ(windowText(control(kFolderEditId)), "");
    ASSERT_TRUE(clickButton(control(kSetButtonId)));

    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        box = waitForMessageBox(processId(), 0);
        return box && dialogItem(box, 0xFFFF);
    }, kDialogTimeoutMs)) << "no notice";
    EXPECT_EQ(messageBoxText(box), "请输入相关信息！");
    HWND ok = dialogItem(box, IDOK);
    Shot shot;
    ASSERT_TRUE(takeSettled(box, session_->threadId(), shot));
    EXPECT_TRUE(shot.image.savePng(joinPath(artifactFolder(), "xp-notice.png")));
    EXPECT_EQ(dialogLookFault(shot, {ok}, {}), "");

    ASSERT_TRUE(click(centreOf(windowRect(ok))));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "the notice stayed";
    // The stand-in must have had the address before the registry is put back.
    EXPECT_TRUE(waitUntil([&] { return browser.openedText().find("http://") != std::string::npos; },
                          kDialogTimeoutMs));
    EXPECT_TRUE(waitUntil([&] { return nothingOpen(); }));
    // The browser took the foreground (under Wine, nothing has it after the
    // stand-in ends); the user clicks the window to come back.
    ASSERT_TRUE(click(emptySpot()));
    EXPECT_TRUE(waitForForeground(window()));
}

// The icon row's "。。。" opens the file dialog, whose buttons and boxes are
// made after the look was turned on and get it. Kept as xp-icon-dialog.png.
TEST_F(XpRealWindow, TheIconDialogGetsTheLook) {
    ASSERT_TRUE(clickButton(control(kBrowseIconButtonId)));

    HWND dialog = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        for (HWND d : topLevelWindows(processId(), "#32770"))
            if (windowText(d) == "选择图片：") dialog = d;
        return dialog != nullptr;
    }, kDialogTimeoutMs)) << "no icon dialog";
    HWND open = dialogItem(dialog, IDOK);
    HWND cancel = dialogItem(dialog, IDCANCEL);
    Shot shot;
    ASSERT_TRUE(takeSettled(dialog, session_->threadId(), shot, kDialogTimeoutMs));
    EXPECT_TRUE(shot.image.savePng(joinPath(artifactFolder(), "xp-icon-dialog.png")));
    // The file-type box is a drop-down list.
    EXPECT_EQ(dialogLookFault(shot, {open, cancel}, {dialogItem(dialog, 0x470)}), "");

    ASSERT_TRUE(click(centreOf(windowRect(cancel))));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kDialogTimeoutMs)) << "the dialog stayed";
    EXPECT_TRUE(waitUntil([&] { return nothingOpen(); }));
    EXPECT_EQ(windowText(control(kIconEditId)), "") << "cancelled with no file picked before";
}

}  // namespace
}  // namespace kelvaro::driver
