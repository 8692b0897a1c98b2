#include "dialog_driving.h"

#include <atomic>
#include <thread>

#include "real_files.h"

namespace kelvaro::testing {
namespace {

struct WindowQuery {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchThreadWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    if (!IsWindowVisible(window) || driver::className(window) != query->className) return TRUE;
    if (query->caption != nullptr && driver::windowText(window) != query->caption) return TRUE;
    query->found = window;
    return FALSE;
}

BOOL CALLBACK cancelThreadWindow(HWND window, LPARAM) {
    const std::string name = driver::className(window);
    if (name == "#32770") PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    if (name == "#32768") PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    return TRUE;
}

}  // namespace

HWND findThreadWindow(DWORD thread, const char* className, const char* caption) {
    WindowQuery query = {className, caption, nullptr};
    EnumThreadWindows(thread, matchThreadWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND waitForThreadWindow(DWORD thread, const char* className, const char* caption) {
    HWND found = nullptr;
    driver::waitUntil([&] { return (found = findThreadWindow(thread, className, caption)) != nullptr; });
    return found;
}

void whileModal(const std::function<void()>& modal, const std::function<void(DWORD thread)>& drive) {
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> modalDone{false};
    std::thread driver([&] {
        drive(thread);
        // What the driver has pressed takes effect first; whatever it left open is
        // then cancelled until the modal call has returned.
        driver::waitUntil([&] { return modalDone.load(); }, 10000);
        while (!modalDone) {
            EnumThreadWindows(thread, cancelThreadWindow, 0);
            Sleep(100);
        }
    });
    modal();
    modalDone = true;
    driver.join();
}

// The owner window.

OwnerWindow::OwnerWindow() {
    static const char* const kClass = "KelvaroTestOwner";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, kClass, "Kelvaro test owner", WS_OVERLAPPEDWINDOW, 100, 100, 380,
                              250, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    button_ = CreateWindowExA(0, "BUTTON", "focus", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10,
                              80, 24, window_, reinterpret_cast<HMENU>(100),
                              GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    SetFocus(button_);
    pumpMessages();
}

OwnerWindow::~OwnerWindow() {
    DestroyWindow(window_);
    pumpMessages();
}

void OwnerWindow::pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK OwnerWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COMMAND && self != nullptr) self->commands_.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

// The scratch folder.

ScratchFolder::ScratchFolder(const std::string& name) {
    // Next to the test program: the file dialogs move the current directory.
    path_ = programFolder() + "\\" + name;
    removeTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    // A folder that is the current directory cannot be removed.
    SetCurrentDirectoryA((path_ + "\\..").c_str());
    removeTree(path_);
}

std::string ScratchFolder::add(const std::string& name, const std::string& bytes) {
    std::string path = path_ + "\\" + name;
    if (!name.empty() && name.back() == '\\') {
        path.pop_back();
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    writeBytes(path, bytes);
    return path;
}

}  // namespace kelvaro::testing
