// Kelvaro as a user meets it: the real program, started afresh for each test and
// driven from this separate program with the mouse and keyboard, its dialogs,
// message boxes and menu answered where they appear, and what it wrote read back
// from the disk.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_driving.h"
#include "kelvaro_session.h"
#include "personalization_procedures.h"
#include "program_probes.h"
#include "real_files.h"
#include "recording_browser.h"
#include "windows_notice_service.h"

namespace kelvaro {
namespace {

using testing::ScratchFolder;

// The driver's third argument: the hook module that reads the pop-up menu.
std::string probePath() { return driver::windowsPath(driver::argument(3)); }

constexpr const char* kFolderBrowserTitle = "请选择要自定义图标的文件夹：";
constexpr const char* kPickerCaption = "选择图片：";

const std::string kUpdatePage = std::string(forumBaseAddress) + "/thread-12402-1-1.html";
const std::string kAboutPage = std::string(forumBaseAddress) + "/thread-9282-1-1.html";

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class KelvaroTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session_.start()) << driver::kelvaroProgram(); }

    DWORD processId() { return session_.process().id(); }
    HWND control(int id) { return session_.control(id); }
    std::string field(int id) { return driver::windowText(control(id)); }
    void click(int id) { driver::click(driver::centreOf(driver::windowRect(control(id)))); }

    // A visible dialog of the program with that caption (any when null), once it
    // is there.
    HWND waitForDialog(const char* caption = nullptr, DWORD timeoutMs = driver::kDefaultTimeoutMs) {
        HWND found = nullptr;
        driver::waitUntil([&] {
            for (HWND dialog : driver::topLevelWindows(processId(), "#32770")) {
                if (caption == nullptr || driver::windowText(dialog) == caption) found = dialog;
            }
            return found != nullptr;
        }, timeoutMs);
        return found;
    }

    // Clicks a button that opens a dialog and returns that dialog once it is
    // there. Under a loaded Wine a click now and then goes missing; a user whose
    // click opened nothing clicks again, and so does this (while a dialog is
    // open the window is disabled, so a second click can never open a second one).
    HWND clickForDialog(int buttonId, const char* caption = nullptr) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            click(buttonId);
            HWND dialog = waitForDialog(caption, 5000);
            if (dialog) return dialog;
            if (!IsWindowEnabled(session_.window())) return waitForDialog(caption);
        }
        return nullptr;
    }

    // Returns once the program's thread has handled what came before: the
    // handler of a click has either returned or opened its next modal window.
    void settle() { driver::sendMessage(session_.window(), WM_NULL); }

    // True when no dialog or message box of the program is open.
    bool nothingOpen() {
        settle();
        return driver::topLevelWindows(processId(), "#32770").empty() && IsWindowEnabled(session_.window());
    }

    // Clicks browseFolderButton and answers the folder browser: selects folder
    // and confirms it, or cancels when folder is empty.
    void answerFolderBrowser(const std::string& folder) {
        HWND dialog = clickForDialog(kBrowseFolderButtonId);
        ASSERT_NE(dialog, nullptr) << "no folder browser";
        EXPECT_NE(testing::findDescendant(dialog, "Static", kFolderBrowserTitle), nullptr);
        if (folder.empty()) {
            testing::pressButton(dialog, IDCANCEL);
        } else {
            ASSERT_TRUE(testing::selectInFolderBrowser(dialog, folder)) << folder;
            testing::pressButton(dialog, IDOK);
        }
        EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(dialog); }));
        settle();
        // The window is active again, with the focus back on the button.
        EXPECT_TRUE(session_.waitForFocusOn(kBrowseFolderButtonId));
    }

    struct FileDialogSeen {
        int filterCount = 0;
        std::string filter;  // the one shown in the file-type box
        std::string nameBox;
    };

    // Clicks one of the icon and picture buttons and answers its dialog: types
    // path into the name box and confirms, or cancels when path is empty.
    FileDialogSeen answerFileDialog(int buttonId, const std::string& path) {
        FileDialogSeen seen;
        HWND dialog = clickForDialog(buttonId, kPickerCaption);
        EXPECT_NE(dialog, nullptr) << "no dialog titled " << kPickerCaption;
        if (dialog == nullptr) return seen;
        // Across processes Wine hands back a combo box's list entries in UTF-16;
        // the box's own text, the entry shown, comes as ANSI.
        HWND types = GetDlgItem(dialog, 0x470);
        seen.filterCount = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        seen.filter = driver::windowText(types);
        HWND name = testing::fileNameEdit(dialog);
        seen.nameBox = driver::windowText(name);
        if (path.empty()) {
            testing::pressButton(dialog, IDCANCEL);
        } else {
            driver::setWindowText(name, path);
            testing::pressButton(dialog, IDOK);
        }
        EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(dialog); }));
        settle();
        // The focus is back on the button that opened the dialog.
        EXPECT_TRUE(session_.waitForFocusOn(buttonId));
        return seen;
    }

    driver::KelvaroSession session_;
};

TEST_F(KelvaroTest, FolderBrowserFillsTheFolderFieldAndACancelEmptiesIt) {
    ScratchFolder scratch("e2e 浏览");
    const std::string folder = scratch.add("我的文件夹\\");

    answerFolderBrowser(folder);
    EXPECT_EQ(field(kFolderEditId), folder);

    answerFolderBrowser("C:\\");
    EXPECT_EQ(field(kFolderEditId), "C:\\");  // a drive root keeps its backslash

    answerFolderBrowser("");
    EXPECT_EQ(field(kFolderEditId), "");
}

TEST_F(KelvaroTest, FileDialogsFillTheirFieldsAndEachRemembersItsOwnFile) {
    ScratchFolder scratch("e2e 图片");
    const std::string iconA = scratch.add("甲.ico");
    const std::string iconB = scratch.add("乙.ico");
    const std::string picture = scratch.add("背景.jpg");

    // Cancelled before any pick: the field stays empty.
    FileDialogSeen seen = answerFileDialog(kBrowseIconButtonId, "");
    EXPECT_EQ(seen.filterCount, 1);
    EXPECT_EQ(seen.filter, "图标文件（ico）");
    EXPECT_EQ(seen.nameBox, "");
    EXPECT_EQ(field(kIconEditId), "");

    answerFileDialog(kBrowseIconButtonId, iconA);
    EXPECT_EQ(field(kIconEditId), iconA);

    // Opened again it offers A; a cancel leaves A in the field.
    seen = answerFileDialog(kBrowseIconButtonId, "");
    EXPECT_NE(seen.nameBox.find("甲.ico"), std::string::npos) << seen.nameBox;
    EXPECT_EQ(field(kIconEditId), iconA);

    // The picture dialog knows nothing of the icon dialog's file.
    seen = answerFileDialog(kBrowseBackgroundButtonId, "");
    EXPECT_EQ(seen.filterCount, 1);
    EXPECT_EQ(seen.filter, "图片文件（jpg）");
    EXPECT_EQ(seen.nameBox, "");
    EXPECT_EQ(field(kBackgroundEditId), "");

    answerFileDialog(kBrowseBackgroundButtonId, picture);
    answerFileDialog(kBrowseIconButtonId, iconB);
    answerFileDialog(kBrowseIconButtonId, "");
    EXPECT_EQ(field(kIconEditId), iconB);
    EXPECT_EQ(field(kBackgroundEditId), picture);
}

TEST_F(KelvaroTest, SetPersonalisesTheFolderAndClearUndoesIt) {
    ScratchFolder scratch("e2e 设置");
    const std::string folder = scratch.add("个性 文件夹\\");
    const std::string iconBytes("\0\0\1\0icon\xFF", 9);
    const std::string pictureBytes("\xFF\xD8\xFF\xE0picture\0", 12);
    const std::string icon = scratch.add("素材 图标.ico", iconBytes);
    const std::string picture = scratch.add("素材 背景.jpg", pictureBytes);

    answerFolderBrowser(folder);
    answerFileDialog(kBrowseIconButtonId, icon);
    answerFileDialog(kBrowseBackgroundButtonId, picture);
    // Typing double-byte characters is not available here; the tip is set as
    // the edit box would hold it.
    driver::setWindowText(control(kTipEditId), "我的收藏 Kelvaro");

    ASSERT_NE(clickForDialog(kSetButtonId), nullptr) << "no notice";
    testing::SeenBox box = testing::answerMessageBox(processId());
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text, "文件夹个性设置成功！");
    EXPECT_EQ(box.title, "Kelvaro提示您：");
    EXPECT_EQ(box.icon, IDI_INFORMATION);
    EXPECT_TRUE(box.closed);
    EXPECT_TRUE(nothingOpen());

    const std::string ini = folder + "\\desktop.ini";
    EXPECT_EQ(testing::readBytes(ini),
              "[.ShellClassInfo]\r\n"
              "IconFile = tavik.ico\r\n"
              "IconIndex = 0\r\n"
              "InfoTip=我的收藏 Kelvaro\r\n"
              "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
              "IconArea_Image = tavik.jpg");
    EXPECT_EQ(testing::readBytes(folder + "\\tavik.ico"), iconBytes);
    EXPECT_EQ(testing::readBytes(folder + "\\tavik.jpg"), pictureBytes);
    const DWORD placed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
        EXPECT_EQ(GetFileAttributesA((folder + name).c_str()), placed) << name;
    }
    // Wine keeps no archive attribute on folders; system is what Explorer needs.
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_SYSTEM);
    // The sources stay as they were.
    EXPECT_EQ(testing::readBytes(icon), iconBytes);

    ASSERT_NE(clickForDialog(kClearButtonId), nullptr) << "no notice";
    box = testing::answerMessageBox(processId());
    EXPECT_EQ(box.text, "消除文件夹个性设置成功！");
    EXPECT_EQ(box.title, "Kelvaro提示您：");
    EXPECT_EQ(box.icon, IDI_INFORMATION);
    for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
        EXPECT_FALSE(exists(folder + name)) << name;
    }
    EXPECT_TRUE(exists(folder));
    EXPECT_TRUE(nothingOpen());
}

TEST_F(KelvaroTest, WithoutAFolderSetAndClearAskForItAndOpenTheUpdatePage) {
    ScratchFolder scratch("e2e no folder");
    testing::RecordingBrowser browser(scratch.path());
    const std::string icon = scratch.add("icon.ico");
    answerFileDialog(kBrowseIconButtonId, icon);

    std::vector<std::string> expectedPages;
    for (int button : {kSetButtonId, kClearButtonId}) {
        ASSERT_NE(clickForDialog(button), nullptr) << "no notice for " << button;
        const testing::SeenBox box = testing::answerMessageBox(processId());
        ASSERT_TRUE(box.found) << button;
        EXPECT_EQ(box.text, "请输入相关信息！");
        EXPECT_EQ(box.title, "Kelvaro提示错误：");
        EXPECT_EQ(box.icon, IDI_ERROR);
        expectedPages.push_back(kUpdatePage);
        EXPECT_TRUE(driver::waitUntil([&] { return browser.opened() == expectedPages; }))
            << ::testing::PrintToString(browser.opened());
        EXPECT_TRUE(nothingOpen());
    }
    // Nothing was written, neither beside the program nor at the drive's root,
    // where the file names alone would lead.
    const std::string programFolder = driver::folderOf(driver::kelvaroProgram());
    for (const std::string& place : {programFolder, std::string("Z:"), std::string("C:")}) {
        for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
            EXPECT_FALSE(exists(place + name)) << place + name;
        }
    }
}

TEST_F(KelvaroTest, AFailingSetShowsItsErrorAndNeverTheSuccessNotice) {
    ScratchFolder scratch("e2e 失败");
    const std::string gone = scratch.add("将删除\\");
    const std::string folder = scratch.add("目标\\");
    const std::string icon = scratch.add("会消失.ico");

    // A folder that was removed after it was picked.
    answerFolderBrowser(gone);
    RemoveDirectoryA(gone.c_str());
    ASSERT_NE(clickForDialog(kSetButtonId), nullptr) << "no notice";
    testing::SeenBox box = testing::answerMessageBox(processId());
    EXPECT_EQ(box.text, kFolderMissingText + gone);
    EXPECT_EQ(box.icon, IDI_ERROR);
    EXPECT_TRUE(nothingOpen());

    // An icon that vanished after it was picked.
    answerFolderBrowser(folder);
    answerFileDialog(kBrowseIconButtonId, icon);
    DeleteFileA(icon.c_str());
    ASSERT_NE(clickForDialog(kSetButtonId), nullptr) << "no notice";
    box = testing::answerMessageBox(processId());
    EXPECT_EQ(box.text, kCopyFailedText + folder + "\\tavik.ico");
    EXPECT_EQ(box.title, "Kelvaro提示错误：");
    EXPECT_EQ(box.icon, IDI_ERROR);
    EXPECT_TRUE(nothingOpen());
    EXPECT_FALSE(exists(folder + "\\desktop.ini"));
}

// The menu.

class VersionMenuTest : public KelvaroTest {
protected:
    void SetUp() override {
        KelvaroTest::SetUp();
        probe_ = std::make_unique<testing::MenuProbe>(probePath(), session_.threadId());
        ASSERT_TRUE(probe_->installed());
    }

    // A point of the part of versionLabel that shows (the label starts above the
    // client area and may reach past its right edge). Two presses in a row land
    // apart, as the label takes a second press at the same spot within the
    // double-click time as a double-click, which opens nothing.
    POINT labelPoint(bool moveOn = true) {
        RECT label = {};
        label = driver::windowRect(control(kVersionLabelId));
        const RECT client = driver::clientRect(session_.window());
        RECT shown = {};
        IntersectRect(&shown, &label, &client);
        const int quarter = (shown.right - shown.left) / 4;
        if (moveOn) nextOnLeft_ = !nextOnLeft_;
        return {nextOnLeft_ ? shown.left + quarter : shown.right - 1 - quarter, (shown.top + shown.bottom) / 2};
    }

    // Presses the left button on the label (holding modifier unless 0) and
    // returns the menu that opens while the button is still down.
    HWND pressLabel(WORD modifier = 0) {
        const POINT at = labelPoint();
        testing::placePointer(at.x, at.y);
        if (modifier != 0) testing::pressKey(modifier, true);
        testing::mouseButton(MOUSEEVENTF_LEFTDOWN);
        HWND menu = driver::waitForTopLevelWindow(processId(), "#32768");
        if (menu != nullptr) {
            RECT place = {};
            GetWindowRect(menu, &place);
            EXPECT_EQ(place.left, at.x + 3);
            EXPECT_EQ(place.top, at.y + 3);
        }
        testing::mouseButton(MOUSEEVENTF_LEFTUP);
        if (modifier != 0) testing::pressKey(modifier, false);
        return menu;
    }

    // Chooses the item at position (from 1) of the open menu with the keyboard.
    void choose(HWND menu, int position) {
        for (int i = 0; i < position; ++i) driver::pressKey(VK_DOWN);
        driver::pressKey(VK_RETURN);
        EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    }

    void dismiss(HWND menu) {
        driver::pressKey(VK_ESCAPE);
        EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    }

    std::unique_ptr<testing::MenuProbe> probe_;
    bool nextOnLeft_ = false;
};

const std::vector<std::string> kMenuItems = {"20001 退出", "20002 本软件更新", "20003 关于Kelvaro"};

TEST_F(VersionMenuTest, ALeftPressOpensTheMenuAtThePointerAndARightPressNothing) {
    // The menu opens on the press, before the release, with the modifier keys
    // making no difference.
    for (WORD modifier : {WORD(0), WORD(VK_CONTROL), WORD(VK_SHIFT)}) {
        HWND menu = pressLabel(modifier);
        ASSERT_NE(menu, nullptr) << "modifier " << modifier;
        dismiss(menu);
    }
    // A fresh menu with the three items each time.
    EXPECT_EQ(probe_->menus(), std::vector<std::vector<std::string>>(3, kMenuItems));

    // A right press opens nothing: the next left press's menu is the only new one.
    const POINT at = labelPoint(false);
    testing::placePointer(at.x, at.y);
    testing::mouseButton(MOUSEEVENTF_RIGHTDOWN);
    testing::mouseButton(MOUSEEVENTF_RIGHTUP);
    HWND menu = pressLabel();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(probe_->menus().size(), 4u);
    dismiss(menu);

    // Dismissing did nothing: no page, no notice, the program runs on.
    EXPECT_TRUE(nothingOpen());
    EXPECT_TRUE(session_.process().running());
}

TEST_F(VersionMenuTest, TheWebItemsOpenTheirPagesEachTimeTheyAreChosen) {
    ScratchFolder scratch("e2e menu pages");
    testing::RecordingBrowser browser(scratch.path());

    choose(pressLabel(), 2);
    EXPECT_TRUE(driver::waitUntil([&] { return browser.opened() == std::vector<std::string>{kUpdatePage}; }));
    choose(pressLabel(), 3);
    choose(pressLabel(), 3);
    const std::vector<std::string> expected = {kUpdatePage, kAboutPage, kAboutPage};
    EXPECT_TRUE(driver::waitUntil([&] { return browser.opened() == expected; }))
        << ::testing::PrintToString(browser.opened());
    EXPECT_TRUE(nothingOpen());
}

TEST_F(VersionMenuTest, ExitEndsTheProgramWithCodeZero) {
    HWND menu = pressLabel();
    ASSERT_NE(menu, nullptr);
    choose(menu, 1);
    DWORD code = 1234;
    ASSERT_TRUE(session_.process().waitForExit(&code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace kelvaro
