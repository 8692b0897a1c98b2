#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "dialog_driving.h"
#include "folder_browser.h"

namespace kelvaro {
namespace {

using testing::OwnerWindow;
using testing::ScratchFolder;

constexpr const char* kTitle = "请选择要自定义图标的文件夹：";

struct Seen {
    bool found = false;
    bool titleShown = false;
    HWND dialogOwner = nullptr;
    bool ownerEnabled = true;
    bool selected = false;
};

// Opens the browser; the driver selects the item (a path, or an item list when
// items is given) and confirms it, or cancels when both are empty.
std::string browseAndAnswer(OwnerWindow& owner, const std::string& path, Seen& seen,
                            LPITEMIDLIST items = nullptr) {
    std::string result = "not returned";
    testing::whileModal([&] { result = browseForFolder(kTitle); },
                        [&](DWORD thread) {
                            HWND dialog = testing::waitForThreadWindow(thread, "#32770");
                            if (dialog == nullptr) return;
                            seen.found = true;
                            seen.titleShown = testing::findDescendant(dialog, "Static", kTitle) != nullptr;
                            seen.dialogOwner = GetWindow(dialog, GW_OWNER);
                            seen.ownerEnabled = IsWindowEnabled(owner.hwnd()) != FALSE;
                            if (items != nullptr) {
                                SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(items));
                            } else if (!path.empty()) {
                                seen.selected = testing::selectInFolderBrowser(dialog, path);
                            }
                            testing::pressButton(dialog, items != nullptr || !path.empty() ? IDOK : IDCANCEL);
                        });
    owner.pumpMessages();
    return result;
}

TEST(FolderBrowser, ConfirmedFolderComesBackExactlyAsTheShellGivesIt) {
    ScratchFolder scratch("browse 文件夹");
    const std::string folders[] = {
        scratch.add("我的图片\\"),  // a GBK name
        scratch.path(),
        "C:\\",                     // a drive root keeps its backslash
    };
    OwnerWindow owner;
    for (const std::string& folder : folders) {
        Seen seen;
        EXPECT_EQ(browseAndAnswer(owner, folder, seen), folder);
        ASSERT_TRUE(seen.found);
        EXPECT_TRUE(seen.selected) << folder;
        EXPECT_TRUE(seen.titleShown);
        EXPECT_EQ(seen.dialogOwner, owner.hwnd());
        EXPECT_FALSE(seen.ownerEnabled);
        // Afterwards the owner is enabled and active again.
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
        EXPECT_EQ(GetActiveWindow(), owner.hwnd());
    }
}

TEST(FolderBrowser, CancelGivesTheEmptyText) {
    OwnerWindow owner;
    Seen seen;
    EXPECT_EQ(browseAndAnswer(owner, "", seen), "");
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST(FolderBrowser, AnItemWithoutAFileSystemPathGivesTheEmptyText) {
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    OwnerWindow owner;
    Seen seen;
    EXPECT_EQ(browseAndAnswer(owner, "", seen, computer), "");
    EXPECT_TRUE(seen.found);
    CoTaskMemFree(computer);
}

TEST(FolderBrowser, WithoutAnActiveWindowItHasNoOwner) {
    Seen seen;
    std::string result;
    testing::whileModal([&] { result = browseForFolder(kTitle); },
                        [&](DWORD thread) {
                            HWND dialog = testing::waitForThreadWindow(thread, "#32770");
                            if (dialog == nullptr) return;
                            seen.found = true;
                            seen.dialogOwner = GetWindow(dialog, GW_OWNER);
                            testing::pressButton(dialog, IDCANCEL);
                        });
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.dialogOwner, nullptr);
    EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace kelvaro
