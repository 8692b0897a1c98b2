#include "driving.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

namespace kelvaro::testing {
namespace {

struct DescendantQuery {
    const char* className;
    const char* text;
    HWND found;
};

BOOL CALLBACK matchDescendant(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<DescendantQuery*>(param);
    if (driver::className(window) == query->className &&
        (query->text == nullptr || driver::windowText(window) == query->text)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// Memory in another process, for messages whose pointers Wine does not carry
// across processes.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ != nullptr) {
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteMemory() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool ok() const { return address_ != nullptr; }
    char* address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    bool write(std::size_t offset, const void* bytes, std::size_t size) {
        SIZE_T done = 0;
        return offset + size <= size_ && WriteProcessMemory(process_, address(offset), bytes, size, &done);
    }
    bool read(std::size_t offset, void* bytes, std::size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && ReadProcessMemory(process_, address(offset), bytes, size, &done);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

// The text of the tree item that is selected in a tree view of another process.
std::string selectedTreeText(HWND tree) {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (item == nullptr) return std::string();
    RemoteMemory memory(tree, sizeof(TVITEMA) + MAX_PATH);
    if (!memory.ok()) return std::string();
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = memory.address(sizeof(TVITEMA));
    query.cchTextMax = MAX_PATH;
    char text[MAX_PATH] = {};
    memory.write(0, &query, sizeof query);
    memory.write(sizeof(TVITEMA), text, sizeof text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(memory.address()));
    memory.read(sizeof(TVITEMA), text, sizeof text);
    text[MAX_PATH - 1] = '\0';
    return text;
}

bool shownAsSelected(const std::string& treeText, const std::string& path) {
    // A drive root shows as "label (C:)", a folder by its name.
    if (path.size() == 3 && path.compare(1, 2, ":\\") == 0) {
        return treeText.find("(" + path.substr(0, 2) + ")") != std::string::npos;
    }
    return treeText == path.substr(path.rfind('\\') + 1);
}

INPUT mouseInput(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

// Mouse and keyboard.

bool placePointer(int x, int y) {
    // Under Wine the X server may report an earlier position of the pointer
    // after it was moved, so the move is repeated until it holds for a while.
    int steady = 0;
    return driver::waitUntil([&] {
        POINT now = {};
        GetCursorPos(&now);
        if (now.x == x && now.y == y) return ++steady >= 10;
        steady = 0;
        SetCursorPos(x, y);
        return false;
    });
}

void mouseButton(DWORD flag) {
    INPUT input = mouseInput(flag);
    SendInput(1, &input, sizeof input);
}

void pressKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// Windows of any process.

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

HWND findDescendant(HWND parent, const char* className, const char* text) {
    DescendantQuery query = {className, text, nullptr};
    EnumChildWindows(parent, matchDescendant, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void pressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND fileNameEdit(HWND dialog) {
    HWND box = GetDlgItem(dialog, 0x47C);
    if (box == nullptr) return GetDlgItem(dialog, 0x480);
    if (driver::className(box) == "Edit") return box;
    HWND combo = driver::className(box) == "ComboBoxEx32" ? FindWindowExA(box, nullptr, "ComboBox", nullptr) : box;
    return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

bool selectInFolderBrowser(HWND dialog, const std::string& path) {
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    RemoteMemory remotePath(dialog, path.size() + 1);
    if (tree == nullptr || !remotePath.ok() || !remotePath.write(0, path.c_str(), path.size() + 1)) {
        return false;
    }
    // Under Wine the first selection of a folder whose parent was never opened
    // in the tree can be lost while the tree fills; it is made again.
    return driver::waitUntil([&] {
        if (shownAsSelected(selectedTreeText(tree), path)) return true;
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remotePath.address()));
        return false;
    });
}

}  // namespace kelvaro::testing
