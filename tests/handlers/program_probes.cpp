#include "program_probes.h"

#include "driving.h"

#include <sstream>

namespace kelvaro::testing {

std::string unixPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::string readBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

namespace {

constexpr const char* kBrowserKey = "Software\\Wine\\WineBrowser";
constexpr const char* kBrowserValue = "Browsers";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A visible dialog of the process, once its text is in place.
HWND findMessageBox(DWORD processId) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && classOf(window) == "#32770" &&
            GetDlgItem(window, 0xFFFF) != nullptr) {
            return window;
        }
    }
    return nullptr;
}

BOOL CALLBACK matchIconStatic(HWND child, LPARAM param) {
    if (classOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

// The share of the pixels at place on the screen that equal icon drawn over
// the colour of place's top-left corner. Icon handles belong to their process,
// so icons are compared by their looks.
double likeness(const RECT& place, HICON icon) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return 0;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH background = CreateSolidBrush(GetPixel(screen, place.left, place.top));
    const RECT all = {0, 0, width, height};
    FillRect(memory, &all, background);
    DeleteObject(background);
    DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    int same = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (GetPixel(memory, x, y) == GetPixel(screen, place.left + x, place.top + y)) ++same;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<double>(same) / (width * height);
}

LPCSTR iconShown(HWND box) {
    HWND iconStatic = nullptr;
    EnumChildWindows(box, matchIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
    if (iconStatic == nullptr) return nullptr;
    RECT place = {};
    GetWindowRect(iconStatic, &place);
    LPCSTR best = nullptr;
    double bestLikeness = 0.9;  // anything less is no match
    for (LPCSTR candidate : {IDI_ERROR, IDI_INFORMATION, IDI_WARNING, IDI_QUESTION}) {
        const double value = likeness(place, LoadIconA(nullptr, candidate));
        if (value > bestLikeness) {
            bestLikeness = value;
            best = candidate;
        }
    }
    return best;
}

}  // namespace

RecordingBrowser::RecordingBrowser(const std::string& folder) : record_(folder + "\\opened.txt") {
    const std::string script = folder + "\\browser.sh";
    DeleteFileA(record_.c_str());
    writeBytes(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + unixPath(record_) + "'\n");
    RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    char old[2048];
    DWORD size = sizeof old;
    hadOld_ = RegQueryValueExA(key_, kBrowserValue, nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
              ERROR_SUCCESS;
    if (hadOld_) old_.assign(old, size);
    const std::string browser = "/bin/sh \"" + unixPath(script) + "\"";
    RegSetValueExA(key_, kBrowserValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>(browser.size() + 1));
}

RecordingBrowser::~RecordingBrowser() {
    if (hadOld_) {
        RegSetValueExA(key_, kBrowserValue, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    } else {
        RegDeleteValueA(key_, kBrowserValue);
    }
    RegCloseKey(key_);
}

std::vector<std::string> RecordingBrowser::opened() const {
    const std::string bytes = readBytes(record_);
    return bytes == "<unreadable>" ? std::vector<std::string>() : lines(bytes);
}

MenuProbe::MenuProbe(const std::string& probePath, DWORD programThread) : log_(probePath + ".log") {
    DeleteFileA(log_.c_str());
    module_ = LoadLibraryA(probePath.c_str());
    if (module_ == nullptr) return;
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, "menuProbeHook")));
    if (hook != nullptr) hook_ = SetWindowsHookExA(WH_CALLWNDPROC, hook, module_, programThread);
}

MenuProbe::~MenuProbe() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    if (module_ != nullptr) FreeLibrary(module_);
}

std::vector<std::vector<std::string>> MenuProbe::menus() const {
    std::vector<std::vector<std::string>> result;
    const std::string bytes = readBytes(log_);
    if (bytes == "<unreadable>") return result;
    for (const std::string& line : lines(bytes)) {
        if (line.rfind("menu ", 0) == 0) {
            result.emplace_back();
        } else if (!result.empty()) {
            result.back().push_back(line);
        }
    }
    return result;
}

SeenBox answerMessageBox(DWORD processId, int timeoutMs) {
    SeenBox seen;
    HWND box = nullptr;
    // The box is read once its text is in place.
    driver::waitUntil([&] {
        box = findMessageBox(processId);
        return box != nullptr && GetDlgItem(box, 0xFFFF) != nullptr;
    }, timeoutMs);
    if (box == nullptr) return seen;
    seen.found = true;
    seen.title = driver::windowText(box);
    seen.text = driver::windowText(GetDlgItem(box, 0xFFFF));
    // The icon is compared once it has been painted.
    driver::waitUntil([&] { return (seen.icon = iconShown(box)) != nullptr; }, 3000);
    pressButton(box, IDOK);
    seen.closed = driver::waitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return seen;
}

}  // namespace kelvaro::testing
