#include "program.h"

#include <ole2.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ansi_text.h"
#include "main_form.h"
#include "main_window.h"
#include "windows_notice_service.h"
#include "xp_look.h"

namespace kelvaro {
namespace {

// Process-wide state of the start-up code; touched only on the GUI thread.
struct ProgramState {
    std::string programFolder;
    std::vector<HWND> loadedWindows;
    bool messageLoopStarted = false;
    void (*endOfProgram)() = nullptr;
    const MainForm* form = nullptr;
    std::unique_ptr<MainWindow> mainWindow;
    bool oleInitialised = false;
    int quitCode = 0;
    StartupFault fault = StartupFault::none;
};

ProgramState& state() {
    static ProgramState instance;
    return instance;
}

bool anyLoadedWindowExists() {
    const auto& windows = state().loadedWindows;
    return std::any_of(windows.begin(), windows.end(), [](HWND w) { return IsWindow(w); });
}

// Relative paths resolve against the program's folder, whatever working folder the
// launcher gave.
void enterProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    state().programFolder = folderOf(std::string(path, std::min<DWORD>(length, MAX_PATH - 1)));
    std::string folder = state().programFolder;
    // "C:" alone would name the drive's current folder, not its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    SetCurrentDirectoryA(folder.c_str());
}

// The form is built into the program; only the test seam makes it unreadable.
const MainForm* readMainForm() {
    return state().fault == StartupFault::unreadableForm ? nullptr : &mainForm();
}

}  // namespace

int startProgram() {
    ProgramState& s = state();
    // The folder browser and the file dialogs run on this thread and need OLE.
    if (!s.oleInitialised) s.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    // A fatal error from here on (a start-up failure, memory run out) releases
    // what start-up acquired before the process ends.
    setFatalCleanup(releaseStartupResources);
    enterProgramFolder();
    s.form = readMainForm();
    if (!s.form) WindowsNoticeService().reportFatalError("载入窗口模板数据段出错!");

    s.endOfProgram = onProgramEnd;
    loadStartWindow();
    runMessageLoop();
    return 0;
}

void loadStartWindow() {
    ProgramState& s = state();
    auto window = std::make_unique<MainWindow>();
    bool created = s.fault != StartupFault::windowRefused && window->create(*s.form);
    if (!created) WindowsNoticeService().reportFatalError("载入启动窗口失败");
    s.mainWindow = std::move(window);
    // The created event: the controls never appear without the XP look.
    onMainWindowCreated();
    s.mainWindow->show();
}

void runMessageLoop() {
    ProgramState& s = state();
    s.messageLoopStarted = true;
    if (!anyLoadedWindowExists()) return;
    // The program has no idle work, so the loop simply waits for the next message.
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            s.quitCode = static_cast<int>(msg.wParam);
            return;
        }
        if (got == -1) return;
        MainWindow* window = mainWindow();
        if (window && window->preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (!anyLoadedWindowExists()) {
            // A modal loop run inside that message may have taken the quit message
            // for itself (Wine's loop for moving a window does); with no window left
            // nothing else would end this loop.
            s.quitCode = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)
                             ? static_cast<int>(msg.wParam)
                             : 0;
            return;
        }
    }
}

void onProgramEnd() {}

int runProgram() {
    startProgram();
    ProgramState& s = state();
    if (auto routine = s.endOfProgram) {
        s.endOfProgram = nullptr;
        routine();
    }
    releaseStartupResources();
    return s.quitCode;
}

void releaseStartupResources() {
    ProgramState& s = state();
    std::vector<HWND> windows = s.loadedWindows;
    for (HWND window : windows)
        if (IsWindow(window)) DestroyWindow(window);
    s.mainWindow.reset();
    if (s.oleInitialised) {
        OleUninitialize();
        s.oleInitialised = false;
    }
}

void windowLoaded(HWND window) { state().loadedWindows.push_back(window); }

void windowUnloaded(HWND window) {
    ProgramState& s = state();
    auto& windows = s.loadedWindows;
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    if (!anyLoadedWindowExists() && s.messageLoopStarted) PostQuitMessage(0);
}

void injectStartupFault(StartupFault fault) { state().fault = fault; }

}  // namespace kelvaro
