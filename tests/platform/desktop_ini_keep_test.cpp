// Set then Clear on a real folder: a desktop.ini that Kelvaro did not write keeps
// its settings, and Windows' own INI reader reads them back afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "personalization_procedures.h"
#include "real_files.h"
#include "recording_notice_service.h"
#include "windows_file_system.h"

namespace kelvaro {
namespace {

using fakes::RecordingNoticeService;
using testing::readBytes;
using testing::writeBytes;

using Event = RecordingNoticeService::Event;

// What the service recorded of one type (notices or pages), in order.
std::vector<Event> recorded(const RecordingNoticeService& notices, Event::Type type) {
    std::vector<Event> events;
    for (const Event& event : notices.events) {
        if (event.type == type) events.push_back(event);
    }
    return events;
}

// A special folder's translated name, another program's view settings and a
// GBK value, none of them Kelvaro's.
const std::string kForeignIni =
    "[.ShellClassInfo]\r\n"
    "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
    "ConfirmFileOp=0\r\n"
    "[ViewState]\r\n"
    "Mode=\r\n"
    "Vid=\r\n"
    "FolderType=Pictures\r\n"
    "说明=我的文档\r\n";
const char* const kViewSection = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";
const char* const kNone = "<none>";

std::string currentDirectory() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Wine keeps the last INI file it read in a cache; this documented call drops
// it, so every reading below comes from the file as it is now.
void forgetCachedProfile(const std::string& file) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

std::string profileString(const char* section, const char* key, const std::string& file) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, kNone, buffer, sizeof buffer, file.c_str());
    return buffer;
}

// The "key=value" lines of one section, in the file's order.
std::vector<std::string> profileSection(const char* section, const std::string& file) {
    std::vector<char> buffer(8192);
    const DWORD length = GetPrivateProfileSectionA(section, buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> lines;
    for (DWORD i = 0; i < length;) {
        const std::string line(buffer.data() + i);
        if (line.empty()) break;
        lines.push_back(line);
        i += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
}

class DesktopIniKeep : public ::testing::Test {
protected:
    void SetUp() override {
        base = currentDirectory() + "\\desktop_ini_keep";
        folder = base + "\\我的文档";
        ini = folder + "\\desktop.ini";
        iconSource = base + "\\star.ico";
        pictureSource = base + "\\sea.jpg";
        removeAll();
        ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(writeBytes(iconSource, "ICON"));
        ASSERT_TRUE(writeBytes(pictureSource, "JPEG"));
    }

    void TearDown() override { removeAll(); }

    void removeAll() {
        for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) removeFile(folder + name);
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(folder.c_str());
        removeFile(iconSource);
        removeFile(pictureSource);
        RemoveDirectoryA(base.c_str());
    }

    std::string base, folder, ini, iconSource, pictureSource;
};

TEST_F(DesktopIniKeep, SetThenClearKeepsAnotherProgramsSettings) {
    ASSERT_TRUE(writeBytes(ini, kForeignIni));
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM));

    forgetCachedProfile(ini);
    const std::vector<std::string> shellBefore = profileSection(".ShellClassInfo", ini);
    const std::vector<std::string> viewBefore = profileSection("ViewState", ini);
    ASSERT_EQ(shellBefore.size(), 2u);
    ASSERT_EQ(viewBefore.size(), 4u);
    const std::string name = "@%SystemRoot%\\system32\\shell32.dll,-21770";
    ASSERT_EQ(profileString(".ShellClassInfo", "LocalizedResourceName", ini), name);

    WindowsFileSystem fs;
    RecordingNoticeService notices;
    applyPersonalization({folder, iconSource, "Kelvaro", pictureSource}, fs, notices);
    std::vector<Event> shown = recorded(notices, Event::notice);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kSetDoneText);
    EXPECT_EQ(shown[0].kind, NoticeKind::information);

    forgetCachedProfile(ini);
    EXPECT_EQ(profileString(".ShellClassInfo", "IconFile", ini), "tavik.ico");
    EXPECT_EQ(profileString(".ShellClassInfo", "IconIndex", ini), "0");
    EXPECT_EQ(profileString(".ShellClassInfo", "InfoTip", ini), "Kelvaro");
    EXPECT_EQ(profileString(kViewSection, "IconArea_Image", ini), "tavik.jpg");
    EXPECT_EQ(profileString(".ShellClassInfo", "LocalizedResourceName", ini), name);
    EXPECT_EQ(profileString(".ShellClassInfo", "ConfirmFileOp", ini), "0");
    EXPECT_EQ(profileSection("ViewState", ini), viewBefore);
    EXPECT_EQ(profileString("ViewState", "说明", ini), "我的文档");

    clearPersonalization({folder, "", "", ""}, fs, notices);
    shown = recorded(notices, Event::notice);
    ASSERT_EQ(shown.size(), 2u);  // Set's notice, then Clear's
    EXPECT_EQ(shown[1].text, kClearDoneText);
    EXPECT_EQ(shown[1].kind, NoticeKind::information);

    // The same keys with the same values, in the same order in each section;
    // nothing of Kelvaro's is left.
    EXPECT_EQ(readBytes(ini), kForeignIni);
    forgetCachedProfile(ini);
    EXPECT_EQ(profileSection(".ShellClassInfo", ini), shellBefore);
    EXPECT_EQ(profileSection("ViewState", ini), viewBefore);
    EXPECT_EQ(profileString(".ShellClassInfo", "LocalizedResourceName", ini), name);
    EXPECT_EQ(profileString(".ShellClassInfo", "IconFile", ini), kNone);
    EXPECT_EQ(profileString(".ShellClassInfo", "InfoTip", ini), kNone);
    EXPECT_EQ(profileString(kViewSection, "IconArea_Image", ini), kNone);
    EXPECT_FALSE(exists(folder + "\\tavik.ico"));
    EXPECT_FALSE(exists(folder + "\\tavik.jpg"));
    EXPECT_TRUE(recorded(notices, Event::page).empty());
}

}  // namespace
}  // namespace kelvaro
