// The keyboard as a user types at the window: the Tab order, typing into the
// fields, the keys that do nothing, and the focus coming back after switching away.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "kelvaro_session.h"

namespace kelvaro::driver {
namespace {

const std::vector<int> kTabOrder = {
    kFolderEditId, kBrowseFolderButtonId, kIconEditId,    kBrowseIconButtonId, kTipEditId,
    kBackgroundEditId, kBrowseBackgroundButtonId, kSetButtonId, kClearButtonId,
};

struct FieldTexts {
    std::string folder, icon, tip, background;
    bool operator==(const FieldTexts& o) const {
        return folder == o.folder && icon == o.icon && tip == o.tip && background == o.background;
    }
};

std::ostream& operator<<(std::ostream& out, const FieldTexts& t) {
    return out << "{folder \"" << t.folder << "\", icon \"" << t.icon << "\", tip \"" << t.tip
               << "\", background \"" << t.background << "\"}";
}

std::string describe(HWND w) {
    if (!w) return "nothing";
    return className(w) + " " + std::to_string(GetDlgCtrlID(w)) + " \"" + windowText(w) + "\"";
}

class Keyboard : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(kelvaro_.start()) << kelvaroProgram(); }
    void TearDown() override {
        DWORD code = 1;
        EXPECT_TRUE(kelvaro_.close(&code));
        EXPECT_EQ(code, 0u);
    }

    FieldTexts texts() const {
        return {windowText(kelvaro_.control(kFolderEditId)), windowText(kelvaro_.control(kIconEditId)),
                windowText(kelvaro_.control(kTipEditId)),
                windowText(kelvaro_.control(kBackgroundEditId))};
    }
    // The position of a control in the Tab order.
    static std::size_t position(int controlId) {
        return static_cast<std::size_t>(std::find(kTabOrder.begin(), kTabOrder.end(), controlId) -
                                        kTabOrder.begin());
    }
    static int after(int controlId) { return kTabOrder[(position(controlId) + 1) % kTabOrder.size()]; }
    // Presses Tab and waits for the focus to reach controlId. Input is handled in
    // order, so then every key sent before has been handled too.
    void tabAndExpect(int controlId, unsigned modifiers = kNoModifier) {
        ASSERT_TRUE(pressKey(VK_TAB, modifiers));
        ASSERT_TRUE(kelvaro_.waitForFocusOn(controlId)) << "focus on " << describe(kelvaro_.focus());
    }
    // Tabs forward from the focused control until controlId has the focus.
    void tabTo(int controlId) {
        HWND focus = kelvaro_.focus();
        int at = GetDlgCtrlID(focus);
        ASSERT_LT(position(at), kTabOrder.size()) << describe(focus);
        while (at != controlId) {
            at = after(at);
            tabAndExpect(at);
        }
    }

    KelvaroSession kelvaro_;
};

TEST_F(Keyboard, TabWalksTheFormOrderBothWaysAndWraps) {
    ASSERT_TRUE(kelvaro_.waitForFocusOn(kFolderEditId)) << "the caret starts in folderEdit";
    for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NO_FATAL_FAILURE(tabAndExpect(kTabOrder[i % kTabOrder.size()]));
    }
    for (std::size_t i = kTabOrder.size(); i-- > 0;) {
        SCOPED_TRACE(i);
        ASSERT_NO_FATAL_FAILURE(tabAndExpect(kTabOrder[i], kShift));
    }
    EXPECT_EQ(windowText(kelvaro_.control(kTipEditId)), "Kelvaro") << "tipEdit got a tab character";
}

TEST_F(Keyboard, OnlyTheTipFieldTakesTyping) {
    const FieldTexts start = {"", "", "Kelvaro", ""};
    ASSERT_EQ(texts(), start);
    for (int id : {kFolderEditId, kIconEditId, kBackgroundEditId}) {
        SCOPED_TRACE(id);
        ASSERT_NO_FATAL_FAILURE(tabTo(id));
        ASSERT_TRUE(typeText("abc"));
        ASSERT_NO_FATAL_FAILURE(tabAndExpect(after(id)));
        EXPECT_EQ(texts(), start);
    }
    // The caret stands at 0 until the user moves it, so typing goes in front.
    ASSERT_NO_FATAL_FAILURE(tabTo(kTipEditId));
    ASSERT_TRUE(typeText("xyz"));
    EXPECT_TRUE(waitUntil([&] { return windowText(kelvaro_.control(kTipEditId)) == "xyzKelvaro"; }))
        << texts();
    FieldTexts typed = start;
    typed.tip = "xyzKelvaro";
    EXPECT_EQ(texts(), typed);
}

TEST_F(Keyboard, EscEnterAndF1ChangeNothing) {
    for (int id : {kFolderEditId, kTipEditId, kSetButtonId, kClearButtonId}) {
        SCOPED_TRACE(id);
        ASSERT_NO_FATAL_FAILURE(tabTo(id));
        for (WORD key : {VK_ESCAPE, VK_RETURN, VK_F1}) ASSERT_TRUE(pressKey(key));
        ASSERT_NO_FATAL_FAILURE(tabAndExpect(after(id)));  // and so the keys before it were handled
        EXPECT_TRUE(IsWindowVisible(kelvaro_.window()));
        EXPECT_EQ(texts(), (FieldTexts{"", "", "Kelvaro", ""}));
        EXPECT_EQ(topLevelWindows(kelvaro_.process().id()).size(), 1u) << "a new window opened";
    }
}

TEST_F(Keyboard, FocusComesBackAfterSwitchingToAnotherProgram) {
    ASSERT_NO_FATAL_FAILURE(tabTo(kIconEditId));
    DriverWindow other;
    ASSERT_TRUE(other.create("another program", RECT{20, 20, 300, 200}));
    ASSERT_TRUE(clickInWindow(other.hwnd(), POINT{100, 80}));
    ASSERT_TRUE(waitForForeground(other.hwnd()));
    EXPECT_TRUE(waitUntil([&] { return activeWindowOf(kelvaro_.threadId()) != kelvaro_.window(); }));

    // A click on an empty spot of the window brings it back.
    ASSERT_TRUE(clickInWindow(kelvaro_.window(), POINT{8, 8}));
    ASSERT_TRUE(waitForForeground(kelvaro_.window()));
    EXPECT_TRUE(kelvaro_.waitForFocusOn(kIconEditId)) << "focus on " << describe(kelvaro_.focus());
}

}  // namespace
}  // namespace kelvaro::driver
