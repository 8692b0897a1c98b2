#include "program_driver.h"

namespace kelvaro::testing {
namespace {

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowQuery {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchProcessWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !IsWindowVisible(window) || classOf(window) != query->className) {
        return TRUE;
    }
    if (query->caption != nullptr && windowText(window) != query->caption) return TRUE;
    query->found = window;
    return FALSE;
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

RunningProgram::RunningProgram(const std::string& exePath) {
    const std::string folder = exePath.substr(0, exePath.rfind('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process_)) {
        return;
    }
    processId_ = process_.dwProcessId;
    threadId_ = process_.dwThreadId;
    HWND found = nullptr;
    waitUntil([&] {
        WindowQuery query = {processId_, "WTWindow", nullptr, nullptr};
        EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&query));
        found = query.found;
        return found != nullptr;
    });
    window_ = found;
}

RunningProgram::~RunningProgram() {
    if (process_.hProcess == nullptr) return;
    if (!ended_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND RunningProgram::findWindow(const char* className, const char* caption) const {
    WindowQuery query = {processId_, className, caption, nullptr};
    EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND RunningProgram::waitForWindow(const char* className, const char* caption, int timeoutMs) const {
    HWND found = nullptr;
    waitUntil([&] { return (found = findWindow(className, caption)) != nullptr; }, timeoutMs);
    return found;
}

bool RunningProgram::waitForExit(DWORD& exitCode, int timeoutMs) {
    if (process_.hProcess == nullptr) return false;
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
    ended_ = true;
    return GetExitCodeProcess(process_.hProcess, &exitCode) != FALSE;
}

SeenBox answerMessageBox(const RunningProgram& program, int timeoutMs) {
    SeenBox seen;
    HWND box = nullptr;
    // The box is read once its text is in place.
    waitUntil([&] {
        box = program.findWindow("#32770");
        return box != nullptr && GetDlgItem(box, 0xFFFF) != nullptr;
    }, timeoutMs);
    if (box == nullptr) return seen;
    seen.found = true;
    seen.title = windowText(box);
    seen.text = windowText(GetDlgItem(box, 0xFFFF));
    // The icon is compared once it has been painted.
    waitUntil([&] { return (seen.icon = iconShown(box)) != nullptr; }, 3000);
    pressButton(box, IDOK);
    seen.closed = waitUntil([&] { return !IsWindow(box); }, timeoutMs);
    return seen;
}

HWND focusOf(const RunningProgram& program) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(program.threadId(), &info);
    return info.hwndFocus;
}

}  // namespace kelvaro::testing
