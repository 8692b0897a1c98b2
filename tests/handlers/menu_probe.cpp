// A hook module that a test loads into the program under test. Under Wine a
// menu handle is usable only inside its own process, so the items of the
// program's pop-up menu are read here, in the program, as the menu opens, and
// appended to a log next to this module that the test reads.
#include <windows.h>

#include <string>

namespace {

char logPath[MAX_PATH] = {};

void append(const std::string& line) {
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

// "menu <count>", then one line per item: "<id> <text>", with " [grayed]",
// " [checked]", " [separator]" or " [submenu]" added where they apply.
std::string describe(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    std::string text = "menu " + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        char label[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = label;
        info.cch = sizeof label;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        std::string line = std::to_string(info.wID) + " " + label;
        if (info.fType & MFT_SEPARATOR) line += " [separator]";
        if (info.fState & MFS_GRAYED) line += " [grayed]";
        if (info.fState & MFS_CHECKED) line += " [checked]";
        if (info.hSubMenu != nullptr) line += " [submenu]";
        line += "\n";
        text += line;
    }
    return text;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK menuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == WM_INITMENUPOPUP) {
            append(describe(reinterpret_cast<HMENU>(message->wParam)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        GetModuleFileNameA(instance, logPath, MAX_PATH - 8);
        lstrcatA(logPath, ".log");
    }
    return TRUE;
}
