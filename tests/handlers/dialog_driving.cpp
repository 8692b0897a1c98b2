#include "dialog_driving.h"

#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

namespace kelvaro::testing {
namespace {

struct WindowQuery {
    const char* className;
    const char* caption;
    HWND found;
};

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK matchThreadWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    if (!IsWindowVisible(window) || classOf(window) != query->className) return TRUE;
    if (query->caption != nullptr && windowText(window) != query->caption) return TRUE;
    query->found = window;
    return FALSE;
}

struct DescendantQuery {
    const char* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK matchDescendant(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<DescendantQuery*>(param);
    if (classOf(window) == query->className && windowText(window) == *query->text) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK cancelThreadWindow(HWND window, LPARAM) {
    const std::string name = classOf(window);
    if (name == "#32770") PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    if (name == "#32768") PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    return TRUE;
}

}  // namespace

bool waitUntil(const std::function<bool()>& ready, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return ready();
        Sleep(20);
    }
}

HWND findThreadWindow(DWORD thread, const char* className, const char* caption) {
    WindowQuery query = {className, caption, nullptr};
    EnumThreadWindows(thread, matchThreadWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND waitForThreadWindow(DWORD thread, const char* className, const char* caption) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findThreadWindow(thread, className, caption)) != nullptr; });
    return found;
}

bool placePointer(int x, int y) {
    // Under Wine the X server may report an earlier position of the pointer
    // after it was moved, so the move is repeated until it holds for a while.
    int steady = 0;
    return waitUntil([&] {
        POINT now = {};
        GetCursorPos(&now);
        if (now.x == x && now.y == y) return ++steady >= 10;
        steady = 0;
        SetCursorPos(x, y);
        return false;
    });
}

std::string windowText(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::vector<std::string> comboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(std::strlen(text.c_str()));
        items.push_back(text);
    }
    return items;
}

HWND fileNameEdit(HWND dialog) {
    HWND box = GetDlgItem(dialog, 0x47C);
    if (box == nullptr) return GetDlgItem(dialog, 0x480);
    if (classOf(box) == "Edit") return box;
    HWND combo = classOf(box) == "ComboBoxEx32" ? FindWindowExA(box, nullptr, "ComboBox", nullptr) : box;
    return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

HWND findDescendant(HWND parent, const char* className, const std::string& text) {
    DescendantQuery query = {className, &text, nullptr};
    EnumChildWindows(parent, matchDescendant, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

namespace {

std::string selectedTreeText(HWND tree) {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return std::string();
    char text[MAX_PATH] = {};
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

bool shownAsSelected(const std::string& treeText, const std::string& path) {
    // A drive root shows as "label (C:)", a folder by its name.
    if (path.size() == 3 && path.compare(1, 2, ":\\") == 0) {
        return treeText.find("(" + path.substr(0, 2) + ")") != std::string::npos;
    }
    return treeText == path.substr(path.rfind('\\') + 1);
}

}  // namespace

bool selectInFolderBrowser(HWND dialog, const std::string& path) {
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    // Under Wine the first selection of a folder whose parent was never opened
    // in the tree can be lost while the tree fills; it is made again.
    return waitUntil([&] {
        if (shownAsSelected(selectedTreeText(tree), path)) return true;
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        return false;
    });
}

void pressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void whileModal(const std::function<void()>& modal, const std::function<void(DWORD thread)>& drive) {
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> modalDone{false};
    std::thread driver([&] {
        drive(thread);
        // What the driver has pressed takes effect first; whatever it left open is
        // then cancelled until the modal call has returned.
        waitUntil([&] { return modalDone.load(); }, 10000);
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

namespace {

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& name) {
    // Next to the test program: the file dialogs move the current directory.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string folder(program, std::strrchr(program, '\\'));
    path_ = folder + "\\" + name;
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

}  // namespace kelvaro::testing
