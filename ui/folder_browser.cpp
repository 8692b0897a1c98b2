#include "folder_browser.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

namespace kelvaro {
namespace {

struct WindowState {
    HWND window;
    bool enabled;
};

BOOL CALLBACK collectTopLevelWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        reinterpret_cast<std::vector<WindowState>*>(list)->push_back(
            {window, IsWindowEnabled(window) != FALSE});
    }
    return TRUE;
}

// The thread's own top-level windows take no input while the browser is open,
// whichever of them happens to own it.
std::vector<WindowState> disableTopLevelWindows() {
    std::vector<WindowState> windows;
    EnumThreadWindows(GetCurrentThreadId(), collectTopLevelWindow,
                      reinterpret_cast<LPARAM>(&windows));
    for (const WindowState& state : windows) EnableWindow(state.window, FALSE);
    return windows;
}

void restoreTopLevelWindows(const std::vector<WindowState>& windows) {
    for (const WindowState& state : windows) {
        if (IsWindow(state.window)) EnableWindow(state.window, state.enabled ? TRUE : FALSE);
    }
}

void releaseItemList(LPITEMIDLIST items) {
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(items);
        allocator->Release();
    }
}

}  // namespace

std::string browseForFolder(const std::string& title) {
    HWND owner = GetActiveWindow();
    if (!IsWindow(owner)) owner = nullptr;

    HWND active = GetActiveWindow();
    HWND foreground = GetForegroundWindow();
    const std::vector<WindowState> windows = disableTopLevelWindows();

    char buffer[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer;
    info.lpszTitle = title.c_str();
    // The classic dialog with an edit line; items outside the file system may be
    // confirmed too and then give no path.
    info.ulFlags = BIF_EDITBOX;
    info.lpfn = nullptr;
    info.lParam = 0;

    LPITEMIDLIST items = SHBrowseForFolderA(&info);

    restoreTopLevelWindows(windows);
    if (foreground != nullptr && IsWindow(foreground)) SetForegroundWindow(foreground);
    if (active != nullptr && IsWindow(active)) SetActiveWindow(active);

    if (items == nullptr) return std::string();

    std::string path;
    ZeroMemory(buffer, sizeof buffer);
    if (SHGetPathFromIDListA(items, buffer) && buffer[0] != '\0') path = buffer;
    releaseItemList(items);
    return path;
}

}  // namespace kelvaro
