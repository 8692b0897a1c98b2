#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driving.h"
#include "file_picker.h"

namespace kelvaro {
namespace {

using testing::OwnerWindow;
using testing::ScratchFolder;

constexpr const char* kCaption = "选择图片：";

// As the main window's form configures its two dialogs.
FilePicker formPicker(const char* filter) {
    FilePicker picker;
    picker.title = kCaption;
    picker.filter = filter;
    picker.fileMustExist = true;
    picker.folderMustExist = true;
    picker.promptOverwrite = true;
    return picker;
}

// What the driver saw of one open dialog.
struct Seen {
    bool found = false;
    std::vector<std::string> filters;
    int selectedFilter = -1;
    std::string nameBox;
    bool ownerEnabled = true;
    HWND dialogOwner = nullptr;
};

// Opens picker owned by owner; the driver reads the dialog, then confirms path
// or, when path is empty, cancels.
bool openAndAnswer(FilePicker& picker, OwnerWindow& owner, const std::string& path, Seen& seen) {
    bool result = false;
    testing::whileModal([&] { result = picker.open(owner.hwnd()); },
                        [&](DWORD thread) {
                            HWND dialog = testing::waitForThreadWindow(thread, "#32770", kCaption);
                            if (dialog == nullptr) return;
                            seen.found = true;
                            HWND types = GetDlgItem(dialog, 0x470);
                            seen.filters = testing::comboItems(types);
                            seen.selectedFilter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
                            HWND name = testing::fileNameEdit(dialog);
                            seen.nameBox = driver::windowText(name);
                            seen.ownerEnabled = IsWindowEnabled(owner.hwnd()) != FALSE;
                            seen.dialogOwner = GetWindow(dialog, GW_OWNER);
                            if (path.empty()) {
                                testing::pressButton(dialog, IDCANCEL);
                            } else {
                                SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
                                testing::pressButton(dialog, IDOK);
                            }
                        });
    owner.pumpMessages();
    return result;
}

std::string baseName(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

class FilePickerTest : public ::testing::Test {
protected:
    ScratchFolder folder_{"picker 图标"};
    OwnerWindow owner_;
};

TEST_F(FilePickerTest, ConfirmedFileBecomesFileNameWithItsFullPath) {
    const std::string icon = folder_.add("甲.ico");
    FilePicker picker = formPicker("图标文件（ico）|*.ico");
    Seen seen;
    EXPECT_TRUE(openAndAnswer(picker, owner_, icon, seen));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(picker.fileName(), icon);
    EXPECT_EQ(seen.filters, std::vector<std::string>{"图标文件（ico）"});
    EXPECT_EQ(seen.selectedFilter, 0);
    EXPECT_EQ(seen.nameBox, "");
    EXPECT_EQ(seen.dialogOwner, owner_.hwnd());
    EXPECT_FALSE(seen.ownerEnabled);
    // The owner takes input again, and the focus is back where it was.
    EXPECT_TRUE(IsWindowEnabled(owner_.hwnd()));
    EXPECT_EQ(GetFocus(), owner_.button());
}

TEST_F(FilePickerTest, CancelKeepsTheFileLastConfirmed) {
    const std::string first = folder_.add("甲.ico");
    const std::string second = folder_.add("乙.ico");
    FilePicker picker = formPicker("图标文件（ico）|*.ico");
    Seen seen;

    EXPECT_FALSE(openAndAnswer(picker, owner_, "", seen));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(picker.fileName(), "");
    EXPECT_TRUE(IsWindowEnabled(owner_.hwnd()));

    EXPECT_TRUE(openAndAnswer(picker, owner_, first, seen));
    // Opened again, the dialog offers the confirmed file's name.
    EXPECT_FALSE(openAndAnswer(picker, owner_, "", seen));
    EXPECT_EQ(baseName(seen.nameBox), baseName(first));
    EXPECT_EQ(picker.fileName(), first);

    EXPECT_TRUE(openAndAnswer(picker, owner_, second, seen));
    EXPECT_FALSE(openAndAnswer(picker, owner_, "", seen));
    EXPECT_EQ(picker.fileName(), second);
}

TEST_F(FilePickerTest, EachDialogRemembersItsOwnFile) {
    const std::string icon = folder_.add("甲.ico");
    const std::string picture = folder_.add("丙.jpg");
    FilePicker iconPicker = formPicker("图标文件（ico）|*.ico");
    FilePicker imagePicker = formPicker("图片文件（jpg）|*.jpg");
    Seen seen;
    EXPECT_TRUE(openAndAnswer(iconPicker, owner_, icon, seen));
    EXPECT_FALSE(openAndAnswer(imagePicker, owner_, "", seen));
    EXPECT_EQ(seen.filters, std::vector<std::string>{"图片文件（jpg）"});
    EXPECT_EQ(seen.nameBox, "");
    EXPECT_EQ(imagePicker.fileName(), "");
    EXPECT_TRUE(openAndAnswer(imagePicker, owner_, picture, seen));
    EXPECT_EQ(iconPicker.fileName(), icon);
    EXPECT_EQ(imagePicker.fileName(), picture);
}

TEST_F(FilePickerTest, OffersEveryFilterPairAndStartsAtTheInitialOne) {
    // "東" ends in the byte 0x7C, the code of '|'.
    FilePicker picker = formPicker("東方图片|*.jpg|图标文件（ico）|*.ico");
    picker.initialFilter = 1;
    Seen seen;
    EXPECT_FALSE(openAndAnswer(picker, owner_, "", seen));
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"東方图片", "图标文件（ico）"}));
    EXPECT_EQ(seen.selectedFilter, 1);
}

TEST_F(FilePickerTest, ANameOfNoExistingFileIsRefusedByTheDialog) {
    FilePicker picker = formPicker("图标文件（ico）|*.ico");
    const std::string missing = folder_.path() + "\\无此文件.ico";
    bool refused = false;
    bool result = true;
    testing::whileModal([&] { result = picker.open(owner_.hwnd()); },
                        [&](DWORD thread) {
                            HWND dialog = testing::waitForThreadWindow(thread, "#32770", kCaption);
                            if (dialog == nullptr) return;
                            HWND name = testing::fileNameEdit(dialog);
                            SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
                            testing::pressButton(dialog, IDOK);
                            // The dialog's own message box, owned by the dialog.
                            HWND box = nullptr;
                            driver::waitUntil([&] {
                                box = GetLastActivePopup(dialog);
                                return box != dialog && box != nullptr;
                            });
                            refused = box != dialog && IsWindow(dialog);
                            if (refused) testing::pressButton(box, IDOK);
                            driver::waitUntil([&] { return GetLastActivePopup(dialog) == dialog; });
                            testing::pressButton(dialog, IDCANCEL);
                        });
    EXPECT_TRUE(refused);
    EXPECT_FALSE(result);
    EXPECT_EQ(picker.fileName(), "");
}

}  // namespace
}  // namespace kelvaro
