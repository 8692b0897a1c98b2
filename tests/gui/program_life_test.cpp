// The process's life seen from outside: where it runs, how it ends, and the two
// start-up failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "kelvaro_session.h"

namespace kelvaro::driver {
namespace {

// The test build of the program that meets a start-up failure on request.
std::string startupFaultProgram() { return windowsPath(argument(3)); }

// Copies the program to path (creating its folder) for as long as the copy lives.
class ProgramCopy {
public:
    ProgramCopy(const std::string& folder, const std::string& name)
        : folder_(folder), path_(joinPath(folder, name)) {
        CreateDirectoryA(folder_.c_str(), nullptr);
        copied_ = CopyFileA(kelvaroProgram().c_str(), path_.c_str(), FALSE) != 0;
    }
    ~ProgramCopy() { DeleteFileA(path_.c_str()); }
    bool copied() const { return copied_; }
    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
    bool copied_ = false;
};

struct FolderCase {
    const char* name;
    std::string folder;      // where the program file lies
    std::string file;        // its name there
    std::string expected;    // the current folder it must have, as Windows writes it
};

TEST(ProgramLife, CurrentFolderIsTheProgramsWhereverItIsStartedFrom) {
    char windowsFolder[MAX_PATH] = {};
    GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    std::string artifacts = artifactFolder();
    std::string systemDrive = std::string(windowsFolder, 2);  // "C:"
    const std::vector<FolderCase> cases = {
        {"the build folder", folderOf(kelvaroProgram()), "", folderOf(kelvaroProgram()) + "\\"},
        // "C:" alone would leave the current folder where the launcher had it.
        {"a drive's root", systemDrive + "\\", "kelvaro-root-test.exe", systemDrive + "\\"},
        // The last byte of 乗 is a backslash: the folder must not end in "cwd-test\乗".
        {"a name whose characters end in 0x5C", artifacts + "\\cwd-test", "乗乗.exe",
         artifacts + "\\cwd-test\\"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ProgramCopy> copy;
        std::string program = kelvaroProgram();
        if (!c.file.empty()) {
            copy = std::make_unique<ProgramCopy>(c.folder, c.file);
            ASSERT_TRUE(copy->copied()) << copy->path();
            program = copy->path();
        }
        KelvaroSession kelvaro;
        ASSERT_TRUE(kelvaro.start(windowsFolder, program)) << program;
        std::string current = kelvaro.process().currentFolder();
        EXPECT_TRUE(samePath(current, c.expected)) << current << " instead of " << c.expected;
        DWORD code = 1;
        EXPECT_TRUE(kelvaro.close(&code));
        EXPECT_EQ(code, 0u);
    }
}

TEST(ProgramLife, CloseEndsTheProgramWithExitCodeZero) {
    KelvaroSession kelvaro;
    ASSERT_TRUE(kelvaro.start());
    HWND w = kelvaro.window();

    // Windows may end the logon whenever it asks.
    bool delivered = false;
    EXPECT_EQ(sendMessage(w, WM_QUERYENDSESSION, 0, 0, &delivered), TRUE);
    EXPECT_TRUE(delivered);

    // A destroy request nobody made is ignored. Input is handled after posted
    // messages, so once Tab has moved the focus the request has been handled.
    ASSERT_TRUE(PostMessageA(w, kDestroyRequestMessage, 0, 0));
    ASSERT_TRUE(pressKey(VK_TAB));
    ASSERT_TRUE(kelvaro.waitForFocusOn(kBrowseFolderButtonId));
    EXPECT_TRUE(IsWindow(w));

    DWORD code = 1;
    ASSERT_TRUE(kelvaro.close(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IsWindow(w));
}

// Wine's loop for moving a window keeps the quit message to itself; the program
// must end all the same when its window goes while the title bar is held.
TEST(ProgramLife, CloseWhileTheTitleBarIsHeldStillEnds) {
    KelvaroSession kelvaro;
    ASSERT_TRUE(kelvaro.start());
    POINT title = titleBarPoint(kelvaro.window());
    ASSERT_TRUE(pressMouse(title));
    bool moving = waitUntil([&] { return (guiThreadFlags(kelvaro.threadId()) & GUI_INMOVESIZE) != 0; });
    DWORD code = 1;
    bool ended = kelvaro.close(&code);
    releaseMouse(title);
    EXPECT_TRUE(moving) << "the press did not start moving the window";
    EXPECT_TRUE(ended);
    EXPECT_EQ(code, 0u);
}

struct StartupFailure {
    const char* fault;
    const char* message;
};

TEST(ProgramLife, StartupFailuresShowTheFatalNoticeAndExitWithMinusOne) {
    const StartupFailure failures[] = {
        {"form", "载入窗口模板数据段出错!"},
        {"window", "载入启动窗口失败"},
    };
    for (const StartupFailure& f : failures) {
        SCOPED_TRACE(f.fault);
        Process program;
        ASSERT_TRUE(program.start(startupFaultProgram(), f.fault)) << startupFaultProgram();
        HWND box = waitForMessageBox(program.id());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(windowText(box), "错误");
        EXPECT_EQ(messageBoxText(box), std::string("运行时出错!\r\n\r\n错误信息：") + f.message + "\r\n");
        EXPECT_TRUE(topLevelWindows(program.id(), kMainWindowClass, false).empty());

        HWND ok = dialogItem(box, IDOK);
        ASSERT_NE(ok, nullptr);
        ASSERT_TRUE(click(centreOf(windowRect(ok))));
        DWORD code = 0;
        ASSERT_TRUE(program.waitForExit(&code));
        EXPECT_EQ(code, static_cast<DWORD>(-1));
    }
}

}  // namespace
}  // namespace kelvaro::driver
