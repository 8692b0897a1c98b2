#include "program_probes.h"

#include "driving.h"
#include "real_files.h"

#include <sstream>

namespace kelvaro::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// A visible dialog of the process, once its text is in place.
HWND findMessageBox(DWORD processId) {
    for (HWND window : driver::topLevelWindows(processId, "#32770")) {
        if (GetDlgItem(window, 0xFFFF) != nullptr) return window;
    }
    return nullptr;
}

BOOL CALLBACK matchIconStatic(HWND child, LPARAM param) {
    if (driver::className(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
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
        const double value = driver::iconLikeness(place, LoadIconA(nullptr, candidate));
        if (value > bestLikeness) {
            bestLikeness = value;
            best = candidate;
        }
    }
    return best;
}

}  // namespace

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
