#include "gui_driver.h"

#include <winternl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace kelvaro::driver {
namespace {

constexpr DWORD kPollMs = 10;
constexpr UINT kSendTimeoutMs = 5000;

std::vector<std::string>& arguments() {
    static std::vector<std::string> list;
    return list;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool sendInputs(std::vector<INPUT>& inputs) {
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void addModifiers(std::vector<INPUT>& inputs, unsigned modifiers, bool up) {
    const std::pair<unsigned, WORD> keys[] = {{kShift, VK_SHIFT}, {kControl, VK_CONTROL}, {kAlt, VK_MENU}};
    for (const auto& [bit, vk] : keys)
        if (modifiers & bit) inputs.push_back(keyInput(vk, up));
}

// Absolute mouse coordinates are 0..65535 across the primary screen; rounding up
// makes Windows' scaling back land on the very pixel.
INPUT mouseInput(POINT screen, DWORD flags) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width - 1) / width);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height - 1) / height);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
}

// ---- PNG: uncompressed deflate blocks are enough for test screenshots.

std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    putBigEndian(out, crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
}

std::string zlibStored(const std::string& raw) {
    std::string out = "\x78\x01";
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

// ---- Waiting

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
}

// ---- Arguments and paths

void setArguments(int argc, char** argv) { arguments().assign(argv, argv + argc); }

std::string argument(int index) {
    const auto& list = arguments();
    return index >= 0 && static_cast<std::size_t>(index) < list.size() ? list[index] : std::string();
}

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

// ---- Processes

Process::~Process() {
    if (running()) terminate();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool Process::start(const std::string& program, const std::string& args,
                    const std::string& currentFolder) {
    std::string commandLine = "\"" + program + "\"";
    if (!args.empty()) commandLine += " " + args;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                          &info_) != 0;
}

bool Process::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(DWORD* exitCode, DWORD timeoutMs) {
    if (!info_.hProcess) return false;
    bool ended = waitUntil([this] { return !running(); }, timeoutMs);
    if (ended && exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return ended;
}

void Process::terminate() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
}

// Windows keeps a process's current folder only in its process parameters, as
// UTF-16; it is turned into the ANSI code page here to compare with ANSI paths.
std::string Process::currentFolder() const {
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(info_.hProcess, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return {};
    auto read = [this](const void* address, void* out, SIZE_T size) {
        SIZE_T got = 0;
        return ReadProcessMemory(info_.hProcess, address, out, size, &got) && got == size;
    };
    // 32-bit layouts: PEB.ProcessParameters at 0x10, CurrentDirectory.DosPath at 0x24.
    std::uint32_t parameters = 0;
    if (!read(reinterpret_cast<const char*>(basic.PebBaseAddress) + 0x10, &parameters, 4)) return {};
    struct {
        USHORT length;
        USHORT maximumLength;
        std::uint32_t buffer;
    } dosPath = {};
    if (!read(reinterpret_cast<const void*>(static_cast<UINT_PTR>(parameters) + 0x24), &dosPath,
              sizeof dosPath))
        return {};
    std::vector<wchar_t> wide(dosPath.length / 2);
    if (wide.empty() || !read(reinterpret_cast<const void*>(static_cast<UINT_PTR>(dosPath.buffer)),
                              wide.data(), dosPath.length))
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string folder(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &folder[0], size,
                        nullptr, nullptr);
    return folder;
}

// ---- Windows

std::vector<HWND> topLevelWindows(DWORD processId, const char* wantedClass, bool visibleOnly) {
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != processId) continue;
        if (visibleOnly && !IsWindowVisible(w)) continue;
        if (wantedClass && className(w) != wantedClass) continue;
        found.push_back(w);
    }
    return found;
}

HWND waitForTopLevelWindow(DWORD processId, const char* wantedClass, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            auto windows = topLevelWindows(processId, wantedClass, true);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::string className(HWND window) {
    char name[256] = {};
    int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string windowText(HWND window) {
    bool delivered = false;
    auto length = static_cast<std::size_t>(sendMessage(window, WM_GETTEXTLENGTH, 0, 0, &delivered));
    if (!delivered) return {};
    std::string text(length + 1, '\0');
    auto got = static_cast<std::size_t>(
        sendMessage(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &delivered));
    text.resize(delivered ? std::min(got, length) : 0);
    return text;
}

bool setWindowText(HWND window, const std::string& text) {
    bool delivered = false;
    LRESULT ok = sendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &delivered);
    return delivered && ok;
}

RECT windowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

RECT clientRect(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT rectInParent(HWND child) {
    RECT r = windowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
    return children;
}

HWND focusOf(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND activeWindowOf(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

DWORD guiThreadFlags(DWORD threadId) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.flags : 0;
}

bool waitForFocus(DWORD threadId, HWND expected, DWORD timeoutMs) {
    return waitUntil([&] { return focusOf(threadId) == expected; }, timeoutMs);
}

bool waitForForeground(HWND window, DWORD timeoutMs) {
    return waitUntil([&] { return GetForegroundWindow() == window; }, timeoutMs);
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* delivered) {
    DWORD_PTR result = 0;
    LRESULT ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                     kSendTimeoutMs, &result);
    if (delivered) *delivered = ok != 0;
    return static_cast<LRESULT>(result);
}

DriverWindow::~DriverWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool DriverWindow::create(const char* title, const RECT& outer) {
    static const char kClass[] = "KelvaroDriverWindow";
    WNDCLASSA wc = {};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClass;
        if (!RegisterClassA(&wc)) return false;
    }
    hwnd_ = CreateWindowExA(0, kClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    return hwnd_ != nullptr;
}

// ---- Input

bool pressKey(WORD virtualKey, unsigned modifiers) {
    std::vector<INPUT> inputs;
    addModifiers(inputs, modifiers, false);
    inputs.push_back(keyInput(virtualKey, false));
    inputs.push_back(keyInput(virtualKey, true));
    addModifiers(inputs, modifiers, true);
    return sendInputs(inputs);
}

bool typeText(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) return false;
        unsigned modifiers = 0;
        if (scan & 0x100) modifiers |= kShift;
        if (scan & 0x200) modifiers |= kControl;
        if (scan & 0x400) modifiers |= kAlt;
        if (!pressKey(static_cast<WORD>(scan & 0xFF), modifiers)) return false;
    }
    return true;
}

bool moveMouse(POINT screen) {
    std::vector<INPUT> inputs = {mouseInput(screen, 0)};
    return sendInputs(inputs);
}

bool click(POINT screen) {
    std::vector<INPUT> inputs = {mouseInput(screen, 0), mouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                                 mouseInput(screen, MOUSEEVENTF_LEFTUP)};
    return sendInputs(inputs);
}

bool pressMouse(POINT screen) {
    std::vector<INPUT> inputs = {mouseInput(screen, 0), mouseInput(screen, MOUSEEVENTF_LEFTDOWN)};
    return sendInputs(inputs);
}

bool releaseMouse(POINT screen) {
    std::vector<INPUT> inputs = {mouseInput(screen, MOUSEEVENTF_LEFTUP)};
    return sendInputs(inputs);
}

bool clickInWindow(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return click(client);
}

POINT titleBarPoint(HWND window) {
    RECT outer = windowRect(window);
    return {outer.left + (outer.right - outer.left) / 4,
            outer.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

bool clickTitleBar(HWND window) { return click(titleBarPoint(window)); }

POINT centreOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// ---- Message boxes

HWND waitForMessageBox(DWORD processId, DWORD timeoutMs) {
    return waitForTopLevelWindow(processId, "#32770", timeoutMs);
}

std::string messageBoxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

HWND dialogItem(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// ---- Screen pixels

COLORREF Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

int Image::count(const RECT& area, const std::function<bool(COLORREF)>& match) const {
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
            if (match(at(x, y))) ++n;
    return n;
}

RECT Image::boundsOf(const RECT& area, const std::function<bool(COLORREF)>& match) const {
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
            if (match(at(x, y))) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (bounds.left > bounds.right) return RECT{0, 0, 0, 0};
    return bounds;
}

bool Image::savePng(const std::string& path) const {
    if (width_ <= 0 || height_ <= 0) return false;
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height_) * (1 + 3 * width_));
    for (int y = 0; y < height_; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < width_; ++x) {
            COLORREF c = at(x, y);
            raw += static_cast<char>(GetRValue(c));
            raw += static_cast<char>(GetGValue(c));
            raw += static_cast<char>(GetBValue(c));
        }
    }
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(width_));
    putBigEndian(header, static_cast<std::uint32_t>(height_));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlibStored(raw));
    putChunk(png, "IEND", "");
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

bool captureScreen(const RECT& area, Image& image) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
        GdiFlush();
        if (ok) {
            image.width_ = width;
            image.height_ = height;
            image.pixels_.resize(static_cast<std::size_t>(width) * height);
            auto source = static_cast<const std::uint32_t*>(bits);
            for (std::size_t i = 0; i < image.pixels_.size(); ++i) {
                std::uint32_t p = source[i];  // 0x00RRGGBB
                image.pixels_[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool isDark(COLORREF color) {
    return GetRValue(color) + GetGValue(color) + GetBValue(color) < 3 * 100;
}

bool sameColor(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

RECT relativeTo(const RECT& rect, POINT origin) {
    return {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
}

double iconLikeness(const RECT& place, HICON icon) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (width <= 0 || height <= 0) return 0;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

    const HBRUSH background = CreateSolidBrush(GetPixel(screen, place.left, place.top));
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
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<double>(same) / (width * height);
}

}  // namespace kelvaro::driver
