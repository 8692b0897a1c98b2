#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driving.h"
#include "version_menu.h"

namespace kelvaro {
namespace {

using testing::OwnerWindow;

// One item of a Windows menu as the user would meet it.
struct Item {
    std::string text;  // "-" for a separator
    unsigned id;
    bool grayed;
    bool checked;
    std::vector<Item> submenu;
    bool operator==(const Item& o) const {
        return text == o.text && id == o.id && grayed == o.grayed && checked == o.checked &&
               submenu == o.submenu;
    }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    out << "{" << item.text << " " << item.id << (item.grayed ? " grayed" : "")
        << (item.checked ? " checked" : "");
    for (const Item& sub : item.submenu) out << " " << sub;
    return out << "}";
}

std::vector<Item> itemsOf(HMENU menu) {
    std::vector<Item> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        // A separator's state means nothing (Wine reports it grayed).
        Item item{separator ? "-" : text, info.hSubMenu ? 0u : info.wID,
                  !separator && (info.fState & MFS_GRAYED) != 0,
                  !separator && (info.fState & MFS_CHECKED) != 0, {}};
        if (info.hSubMenu != nullptr) item.submenu = itemsOf(info.hSubMenu);
        items.push_back(item);
    }
    return items;
}

MenuEntries programLikeEntries() {
    return {{"菜单", 0, true}, {"退出", 1}, {"本软件更新", 1}, {"关于Kelvaro", 1}};
}

TEST(PopupMenu, BuildsTheEntriesOneLevelBelowInListOrder) {
    const MenuEntries entries = {
        {"root", 0, true},       // 20000
        {"plain", 1},            // 20001
        {"hidden", 1, true},     // 20002, left out with what lies below it
        {"under hidden", 2},     // 20003
        {"-", 1},                // separator
        {"grayed", 1, false, true},          // 20005
        {"checked", 1, false, false, true},  // 20006
        {"sub", 1},              // a submenu
        {"sub item", 2},         // 20008
        {"deeper", 3},           // 20009, only inside "sub item"
        {"last", 1},             // 20010
        {"next root", 0},        // ends the pop-up
        {"not shown", 1},
    };
    HMENU menu = buildPopupMenu(entries, 0);
    ASSERT_NE(menu, nullptr);
    const std::vector<Item> expected = {
        {"plain", 20001, false, false, {}},
        {"-", 0, false, false, {}},
        {"grayed", 20005, true, false, {}},
        {"checked", 20006, false, true, {}},
        {"sub", 0, false, false, {{"sub item", 0, false, false, {{"deeper", 20009, false, false, {}}}}}},
        {"last", 20010, false, false, {}},
    };
    EXPECT_EQ(itemsOf(menu), expected);
    DestroyMenu(menu);
}

TEST(PopupMenu, ThereIsNoneForAnEntryWithNothingBelowIt) {
    const MenuEntries entries = programLikeEntries();
    EXPECT_EQ(buildPopupMenu(entries, 1), nullptr);  // next entry not deeper
    EXPECT_EQ(buildPopupMenu(entries, 3), nullptr);  // the last entry
    EXPECT_EQ(buildPopupMenu(entries, 4), nullptr);  // not an entry of the list
    EXPECT_EQ(buildPopupMenu(MenuEntries{}, 0), nullptr);

    // Nothing is shown for it either: the call returns at once.
    OwnerWindow owner;
    showPopupMenu(entries, 3, owner.hwnd());
    owner.pumpMessages();
    EXPECT_TRUE(owner.commands().empty());
}

// What the driver saw of the open menu.
struct SeenMenu {
    bool found = false;
    RECT place = {};
    HMENU menu = nullptr;
    std::vector<Item> items;
};

// Shows the program-like menu with the pointer at (x, y); the driver reads it
// and then sends keys to it.
SeenMenu showAndPress(OwnerWindow& owner, int x, int y, const std::vector<WPARAM>& keys) {
    SeenMenu seen;
    testing::placePointer(x, y);
    testing::whileModal([&] { showPopupMenu(programLikeEntries(), 0, owner.hwnd()); },
                        [&](DWORD thread) {
                            HWND window = testing::waitForThreadWindow(thread, "#32768");
                            if (window == nullptr) return;
                            seen.found = true;
                            GetWindowRect(window, &seen.place);
                            seen.menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
                            seen.items = itemsOf(seen.menu);
                            for (WPARAM key : keys) PostMessageA(window, WM_KEYDOWN, key, 0);
                        });
    return seen;
}

TEST(PopupMenu, OpensAtThePointerMovedThreeAndThreeWithTheItems) {
    OwnerWindow owner;
    const SeenMenu seen = showAndPress(owner, 200, 150, {VK_ESCAPE});
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.place.left, 203);
    EXPECT_EQ(seen.place.top, 153);
    const std::vector<Item> expected = {
        {"退出", 20001, false, false, {}},
        {"本软件更新", 20002, false, false, {}},
        {"关于Kelvaro", 20003, false, false, {}},
    };
    EXPECT_EQ(seen.items, expected);
    // Built for this one showing and destroyed after it.
    EXPECT_FALSE(IsMenu(seen.menu));
    // Dismissing chooses nothing.
    owner.pumpMessages();
    EXPECT_TRUE(owner.commands().empty());
}

TEST(PopupMenu, AChosenItemReachesTheOwnerAfterTheMenuIsGone) {
    OwnerWindow owner;
    const SeenMenu first = showAndPress(owner, 300, 200, {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(first.found);
    // Posted, not sent: nothing has arrived while showPopupMenu ran.
    EXPECT_TRUE(owner.commands().empty());
    owner.pumpMessages();
    EXPECT_EQ(owner.commands(), std::vector<unsigned>{20002});

    // A fresh menu for the next showing, at the pointer's new place.
    const SeenMenu second = showAndPress(owner, 100, 120, {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(second.found);
    EXPECT_EQ(second.place.left, 103);
    EXPECT_EQ(second.place.top, 123);
    owner.pumpMessages();
    EXPECT_EQ(owner.commands(), (std::vector<unsigned>{20002, 20001}));
}

}  // namespace
}  // namespace kelvaro
