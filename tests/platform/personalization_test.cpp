// Set and Clear through WindowsFileSystem on real folders under Wine, read back
// the way Windows and its shell read them.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "desktop_ini.h"
#include "personalization_procedures.h"
#include "recording_notice_service.h"
#include "scratch_folder.h"
#include "windows_file_system.h"

namespace kelvaro {
namespace {

using Notices = fakes::RecordingNoticeService;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

const char* const kShellClassInfo = ".ShellClassInfo";
const char* const kBackgroundSection = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// What Windows' own INI reader finds in desktop.ini.
std::string iniValue(const std::string& ini, const char* section, const char* key) {
    char value[1024];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof(value), ini.c_str());
    return value;
}

// The folder name is the test's parameter: a Chinese user's folder is GBK.
class SetAndClear : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        folder = dir / GetParam();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(writeBytes(dir / "star.ico", "ICON-1"));
        ASSERT_TRUE(writeBytes(dir / "sea.jpg", "JPEG-1"));
        ASSERT_TRUE(writeBytes(folder + "\\notes.txt", "keep me"));
    }

    FolderPersonalization everything(const std::string& tip) const {
        return {folder, dir / "star.ico", tip, dir / "sea.jpg"};
    }

    void expectPersonalized(const FolderPersonalization& request) {
        const std::string ini = folder + "\\desktop.ini";
        EXPECT_EQ(composeDesktopIni(request), readBytes(ini));
        EXPECT_EQ(readBytes(request.iconSource), readBytes(folder + "\\tavik.ico"));
        EXPECT_EQ(readBytes(request.backgroundSource), readBytes(folder + "\\tavik.jpg"));

        // Hidden, system and archive on the placed files.
        for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
            EXPECT_EQ(38u, attributesOf(folder + name)) << name;
        }
        // System on the folder. Wine does not keep archive on a folder: after
        // SetFileAttributesA(folder, 36) it reports 20, Windows 52.
        EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM,
                  attributesOf(folder) & ~FILE_ATTRIBUTE_ARCHIVE);

        EXPECT_EQ(request.infoTip, iniValue(ini, kShellClassInfo, "InfoTip"));
        EXPECT_EQ("tavik.ico", iniValue(ini, kShellClassInfo, "IconFile"));
        EXPECT_EQ("0", iniValue(ini, kShellClassInfo, "IconIndex"));
        EXPECT_EQ("tavik.jpg", iniValue(ini, kBackgroundSection, "IconArea_Image"));
        EXPECT_EQ("keep me", readBytes(folder + "\\notes.txt"));
    }

    ScratchFolder dir;
    std::string folder;
    WindowsFileSystem fs;
    Notices notices;
};

TEST_P(SetAndClear, SetWritesWhatTheShellReads) {
    const FolderPersonalization request = everything("Kelvaro 的文件夹");
    applyPersonalization(request, fs, notices);

    EXPECT_EQ(std::vector<Notices::Event>{Notices::information(kSetDoneText, kInformationTitle)},
              notices.events);
    expectPersonalized(request);
}

TEST_P(SetAndClear, SetTwiceReplacesTheFirst) {
    applyPersonalization(everything("first"), fs, notices);
    ASSERT_TRUE(writeBytes(dir / "star.ico", "ICON-2, a longer icon"));
    ASSERT_TRUE(writeBytes(dir / "sea.jpg", "JPEG-2"));
    notices.events.clear();

    const FolderPersonalization second = everything("第二次");
    applyPersonalization(second, fs, notices);

    EXPECT_EQ(std::vector<Notices::Event>{Notices::information(kSetDoneText, kInformationTitle)},
              notices.events);
    expectPersonalized(second);
}

TEST_P(SetAndClear, ClearRemovesThePlacedFiles) {
    applyPersonalization(everything("Kelvaro"), fs, notices);
    notices.events.clear();

    clearPersonalization({folder, "", "", ""}, fs, notices);

    EXPECT_EQ(std::vector<Notices::Event>{Notices::information(kClearDoneText, kInformationTitle)},
              notices.events);
    for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, attributesOf(folder + name)) << name;
    }
    EXPECT_EQ("keep me", readBytes(folder + "\\notes.txt"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributesOf(folder));
}

INSTANTIATE_TEST_SUITE_P(Folders, SetAndClear, ::testing::Values("我的文件夹", "Plain Folder"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("Chinese") : std::string("Ascii");
                         });

// The shell hears that the folder changed, so Explorer redraws it at once. Wine
// keeps the listeners of each process to itself and calls them from within
// SHChangeNotify, so the listener is a window of this process.
class ShellListener {
public:
    static constexpr UINT kChangeMessage = WM_APP + 1;

    explicit ShellListener(const std::string& folder) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = "KelvaroShellListener";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        pidl_ = ILCreateFromPathA(folder.c_str());
        SHChangeNotifyEntry entry = {pidl_, FALSE};
        registration_ = SHChangeNotifyRegister(
            window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
            SHCNE_UPDATEITEM, kChangeMessage, 1, &entry);
    }

    ~ShellListener() {
        SHChangeNotifyDeregister(registration_);
        ILFree(pidl_);
        DestroyWindow(window_);
    }

    bool registered() const { return window_ != nullptr && pidl_ != nullptr && registration_ != 0; }

    // Pumps messages until a notification came or the deadline passed.
    bool waitForChange(DWORD milliseconds) {
        const DWORD start = GetTickCount();
        while (heard.empty() && GetTickCount() - start < milliseconds) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            if (heard.empty()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return !heard.empty();
    }

    // "event path" for each notification.
    std::vector<std::string> heard;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kChangeMessage) return DefWindowProcA(window, message, wParam, lParam);
        auto* self = reinterpret_cast<ShellListener*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PIDLIST_ABSOLUTE* items = nullptr;
        LONG event = 0;
        const HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam),
                                                      static_cast<DWORD>(lParam), &items, &event);
        char path[MAX_PATH] = "";
        if (items != nullptr && items[0] != nullptr) SHGetPathFromIDListA(items[0], path);
        if (lock != nullptr) SHChangeNotification_Unlock(lock);
        if (self != nullptr) self->heard.push_back(std::to_string(event) + " " + path);
        return 0;
    }

    HWND window_ = nullptr;
    PIDLIST_ABSOLUTE pidl_ = nullptr;
    ULONG registration_ = 0;
};

TEST(ShellNotification, TheShellHearsOfSetAndClear) {
    ScratchFolder dir;
    const std::string folder = dir / "我的文件夹";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(writeBytes(dir / "star.ico", "ICON-1"));
    WindowsFileSystem fs;
    Notices notices;
    const std::string updated = std::to_string(SHCNE_UPDATEITEM) + " " + folder;

    ShellListener listener(folder);
    ASSERT_TRUE(listener.registered());
    applyPersonalization({folder, dir / "star.ico", "Kelvaro", ""}, fs, notices);
    ASSERT_TRUE(listener.waitForChange(5000));
    EXPECT_EQ(updated, listener.heard.front());

    listener.heard.clear();
    clearPersonalization({folder, "", "", ""}, fs, notices);
    ASSERT_TRUE(listener.waitForChange(5000));
    EXPECT_EQ(updated, listener.heard.front());
}

}  // namespace
}  // namespace kelvaro
