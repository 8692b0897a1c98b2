// The notices as a user meets them: message boxes found and read from another
// thread or process and closed with OK, forum pages as the browser gets them,
// and the fatal-error notice of a failing program.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "fatal_child.h"
#include "gui_driver.h"
#include "message_box_watcher.h"
#include "personalization_procedures.h"
#include "recording_browser.h"
#include "scratch_folder.h"
#include "windows_notice_service.h"

namespace kelvaro {
namespace {

using driver::iconLikeness;
using driver::waitUntil;
using testing::MessageBoxWatcher;
using testing::RecordingBrowser;
using testing::ScratchFolder;
using testing::SeenMessageBox;

// A top-level window of this thread, standing in for the main window.
class ThreadWindow {
public:
    explicit ThreadWindow(const char* title)
        : window_(CreateWindowA("STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr)) {}
    ~ThreadWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

TEST(Notices, EachNoticeIsATaskModalBox) {
    const struct {
        const char* text;
        NoticeKind kind;
        const char* title;
        LPCSTR icon;
    } notices[] = {
        {kMissingInfoText, NoticeKind::error, kErrorTitle, IDI_ERROR},
        {kSetDoneText, NoticeKind::information, kInformationTitle, IDI_INFORMATION},
        {kClearDoneText, NoticeKind::information, kInformationTitle, IDI_INFORMATION},
    };
    ThreadWindow mainWindow("Kelvaro");
    WindowsNoticeService service;

    for (const auto& notice : notices) {
        bool mainWindowEnabled = true;
        MessageBoxWatcher watcher(GetCurrentProcessId(), GetCurrentThreadId(),
                                  [&](HWND, SeenMessageBox&) {
                                      mainWindowEnabled = IsWindowEnabled(mainWindow.get()) != FALSE;
                                  });
        service.showNotice(notice.text, notice.kind, notice.title);
        const SeenMessageBox& seen = watcher.result();

        ASSERT_TRUE(seen.found) << notice.text;
        EXPECT_EQ(notice.title, seen.title);
        EXPECT_EQ(notice.text, seen.text);
        EXPECT_EQ(LoadIconA(nullptr, notice.icon), seen.icon) << notice.text;
        // Task-modal: the thread's windows take no input while the box is up.
        EXPECT_FALSE(mainWindowEnabled) << notice.text;
        EXPECT_TRUE(IsWindowEnabled(mainWindow.get())) << notice.text;
        EXPECT_TRUE(seen.closed);
    }
}

TEST(Notices, ForumPagesOpenInTheBrowser) {
    ScratchFolder dir;
    // A shell script that notes its argument stands in for the browser.
    RecordingBrowser browser(dir.path());
    WindowsNoticeService service;
    const std::string update = std::string(forumBaseAddress) + kUpdatePagePath + "\n";
    const std::string about = std::string(forumBaseAddress) + kAboutPagePath + "\n";

    service.openWebPage(kUpdatePagePath);
    EXPECT_TRUE(waitUntil([&] { return browser.openedText() == update; }, 20000))
        << browser.openedText();

    // With an Internet Explorer window open the shell gets it as owner; the
    // page opens all the same.
    ThreadWindow explorer("microsoft internet explorer");
    service.openWebPage(kAboutPagePath);
    EXPECT_TRUE(waitUntil([&] { return browser.openedText() == update + about; }, 20000))
        << browser.openedText();
}

// A run of the failing program.
class FailingProgram {
public:
    FailingProgram(const char* mode, const std::string& cleanupMarker) {
        const std::string program = testing::programFolder() + "\\" + testing::kFatalChildProgram;
        std::string commandLine =
            "\"" + program + "\" " + mode + " \"" + cleanupMarker + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        started_ = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &process_) != FALSE;
    }

    ~FailingProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    bool started() const { return started_; }
    DWORD processId() const { return process_.dwProcessId; }

    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD exitCode(DWORD milliseconds) {
        WaitForSingleObject(process_.hProcess, milliseconds);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

struct FatalCase {
    const char* mode;
    const char* message;
};

class FatalError : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalError, ShowsTheErrorAndEndsTheProgramWithMinusOne) {
    ScratchFolder dir;
    const std::string cleanupMarker = dir / "cleaned-up";
    FailingProgram program(GetParam().mode, cleanupMarker);
    ASSERT_TRUE(program.started());

    bool programWindowEnabled = false;
    double errorIcon = 0;
    double informationIcon = 0;
    MessageBoxWatcher watcher(program.processId(), 0, [&](HWND, SeenMessageBox& seen) {
        const HWND window = FindWindowA("STATIC", testing::kFatalChildWindowTitle);
        programWindowEnabled = window != nullptr && IsWindowEnabled(window);
        // The box paints itself in its own time.
        waitUntil([&] {
            errorIcon = iconLikeness(seen.iconPlace, LoadIconA(nullptr, IDI_ERROR));
            return errorIcon > 0.95;
        }, 5000);
        informationIcon = iconLikeness(seen.iconPlace, LoadIconA(nullptr, IDI_INFORMATION));
    });
    const SeenMessageBox& seen = watcher.result();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ("错误", seen.title);
    EXPECT_EQ(std::string("运行时出错!\r\n\r\n错误信息：") + GetParam().message + "\r\n", seen.text);
    // The stop sign, not the information icon.
    EXPECT_GT(errorIcon, 0.95);
    EXPECT_LT(informationIcon, 0.8);
    // Not task-modal: the program's windows stay enabled.
    EXPECT_TRUE(programWindowEnabled);
    EXPECT_EQ(0xFFFFFFFFu, program.exitCode(20000));
    // What start-up acquired was released before the end.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(cleanupMarker.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FatalError,
    ::testing::Values(FatalCase{testing::kReportMode, testing::kFatalChildMessage},
                      FatalCase{testing::kAllocateMode, testing::kImpossibleAllocationMessage},
                      FatalCase{testing::kAllocateNothrowMode,
                                testing::kImpossibleAllocationMessage}),
    [](const ::testing::TestParamInfo<FatalCase>& info) {
        std::string name = info.param.mode;
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

}  // namespace
}  // namespace kelvaro

int main(int argc, char** argv) {
    // As in the program, OLE is there for the shell.
    OleInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
