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
    // Tab until controlId has the focus; input is handled in order, so once the
    // focus arrives every key sent before has been handled too.
    void tabTo(int controlId) {
        for (std::size_t i = 0; i < kTabOrder.size() && kelvaro_.focus() != kelvaro_.control(controlId); ++i) {
            HWND before = kelvaro_.focus();
            ASSERT_TRUE(pressKey(VK_TAB));
            ASSERT_TRUE(waitUntil([&] { return kelvaro_.focus() != before; }));
        }
        ASSERT_EQ(kelvaro_.focus(), kelvaro_.control(controlId));
    }
    // Presses Tab and waits for the focus to reach controlId.
    void tabAndExpect(int controlId, unsigned modifiers = kNoModifier) {
        ASSERT_TRUE(pressKey(VK_TAB, modifiers));
        EXPECT_TRUE(kelvaro_.waitForFocusOn(controlId)) << "focus on " << kelvaro_.focus();
    }

    KelvaroSession kelvaro_;
};

TEST_F(Keyboard, TabWalksTheFormOrderBothWaysAndWraps) {
    ASSERT_TRUE(kelvaro_.waitForFocusOn(kFolderEditId)) << "the caret starts in folderEdit";
    for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
        SCOPED_TRACE(i);
        tabAndExpect(kTabOrder[i % kTabOrder.size()]);
    }
    for (std::size_t i = kTabOrder.size(); i-- > 0;) {
        SCOPED_TRACE(i);
        tabAndExpect(kTabOrder[i], kShift);
    }
    EXPECT_EQ(windowText(kelvaro_.control(kTipEditId)), "Kelvaro") << "tipEdit got a tab character";
}

TEST_F(Keyboard, OnlyTheTipFieldTakesTyping) {
    const FieldTexts start = {"", "", "Kelvaro", ""};
    ASSERT_EQ(texts(), start);
    for (int id : {kFolderEditId, kIconEditId, kBackgroundEditId}) {
        SCOPED_TRACE(id);
        tabTo(id);
        ASSERT_TRUE(typeText("abc"));
        tabAndExpect(kTabOrder[(std::find(kTabOrder.begin(), kTabOrder.end(), id) - kTabOrder.begin() + 1) %
                               kTabOrder.size()]);
        EXPECT_EQ(texts(), start);
    }
    // The caret stands at 0 until the user moves it, so typing goes in front.
    tabTo(kTipEditId);
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
        tabTo(id);
        for (WORD key : {VK_ESCAPE, VK_RETURN, VK_F1}) ASSERT_TRUE(pressKey(key));
        auto at = std::find(kTabOrder.begin(), kTabOrder.end(), id) - kTabOrder.begin();
        tabAndExpect(kTabOrder[(at + 1) % kTabOrder.size()]);  // and so the keys were handled
        EXPECT_TRUE(IsWindowVisible(kelvaro_.window()));
        EXPECT_EQ(texts(), (FieldTexts{"", "", "Kelvaro", ""}));
        EXPECT_EQ(topLevelWindows(kelvaro_.process().id()).size(), 1u) << "a new window opened";
    }
}

TEST_F(Keyboard, FocusComesBackAfterSwitchingToAnotherProgram) {
    tabTo(kIconEditId);
    DriverWindow other;
    ASSERT_TRUE(other.create("another program", RECT{20, 20, 300, 200}));
    ASSERT_TRUE(clickInWindow(other.hwnd(), POINT{100, 80}));
    ASSERT_TRUE(waitForForeground(other.hwnd()));
    EXPECT_TRUE(waitUntil([&] { return activeWindowOf(kelvaro_.threadId()) != kelvaro_.window(); }));

    ASSERT_TRUE(clickTitleBar(kelvaro_.window()));
    ASSERT_TRUE(waitForForeground(kelvaro_.window()));
    EXPECT_TRUE(kelvaro_.waitForFocusOn(kIconEditId)) << "focus on " << kelvaro_.focus();
}

}  // namespace
}  // namespace kelvaro::driver
