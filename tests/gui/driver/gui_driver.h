// Driving a Windows program from a separate test program, the way a user's input
// reaches it: processes, windows and their texts, keyboard and mouse input,
// message boxes and screen pixels.
//
// Under Wine the driver and the program run in one prefix and one virtual desktop,
// so these calls reach the program's windows. Facts they rely on:
// - GetWindowTextA of another process's control gives its creation text, so texts
//   are read with WM_GETTEXT (windowText).
// - WM_GETFONT and WM_GETICON do not cross processes under Wine (the answer is 0),
//   nor do GetClassLong's cursor and brush (its style does): check those inside
//   the program's own process.
// - SetFocus works only on the caller's own windows, so the focus is moved with
//   key input, and read with GetGUIThreadInfo (focusOf).
// - Input goes to the foreground window: check it (waitForForeground) first.
// - Never wait with fixed sleeps: every wait polls with a deadline (waitUntil),
//   and pumps the driver's own messages meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ansi_text.h"

namespace kelvaro::driver {

inline constexpr DWORD kDefaultTimeoutMs = 15000;

// ---- Waiting

// Calls condition every few milliseconds until it returns true or timeoutMs have
// passed, pumping the calling thread's messages in between. True when it did.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

// ---- Arguments and paths

// The driver's own arguments, left after GoogleTest took its flags; driver_main.cpp
// records them. Index 0 is the driver itself; empty text past the end.
void setArguments(int argc, char** argv);
std::string argument(int index);

// A path as a Windows program takes it: a Unix path "/a/b" becomes "Z:\a\b";
// anything else is returned unchanged.
std::string windowsPath(const std::string& path);
// The folder of a path: up to its last backslash, skipping GBK trail bytes.
using kelvaro::folderOf;
std::string joinPath(const std::string& folder, const std::string& name);
// Equal apart from the case of ASCII letters, as Windows compares paths.
inline bool samePath(const std::string& a, const std::string& b) { return equalIgnoringAsciiCase(a, b); }

// ---- Processes

class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Ends the process if it still runs.
    ~Process();

    // Starts program with a command line of its quoted path and arguments, in
    // currentFolder (empty: the driver's own current folder).
    bool start(const std::string& program, const std::string& arguments = {},
               const std::string& currentFolder = {});
    bool running() const;
    DWORD id() const { return info_.dwProcessId; }
    DWORD threadId() const { return info_.dwThreadId; }  // the main thread
    HANDLE handle() const { return info_.hProcess; }
    // True, with the exit code, when the process ended within timeoutMs.
    bool waitForExit(DWORD* exitCode, DWORD timeoutMs = kDefaultTimeoutMs);
    void terminate();
    // The process's current folder, read from its process parameters; it ends with
    // a backslash. Empty when it cannot be read.
    std::string currentFolder() const;

private:
    PROCESS_INFORMATION info_ = {};
};

// ---- Windows

// Top-level windows of a process (className null: any class), in stacking order.
std::vector<HWND> topLevelWindows(DWORD processId, const char* className = nullptr,
                                  bool visibleOnly = true);
// The first visible top-level window of the process with that class, once it exists.
HWND waitForTopLevelWindow(DWORD processId, const char* className,
                           DWORD timeoutMs = kDefaultTimeoutMs);
std::string className(HWND window);
// The current text, asked for with WM_GETTEXT.
std::string windowText(HWND window);
bool setWindowText(HWND window, const std::string& text);
// The window's outer rectangle and its client area, in screen coordinates.
RECT windowRect(HWND window);
RECT clientRect(HWND window);
// A child's outer rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);
// The direct children of a window, top of the stacking order first.
std::vector<HWND> childWindows(HWND parent);
// Keyboard focus, active and foreground windows of a GUI thread (any process).
HWND focusOf(DWORD threadId);
HWND activeWindowOf(DWORD threadId);
// GUITHREADINFO flags of a thread, e.g. GUI_INMOVESIZE while a window is dragged.
DWORD guiThreadFlags(DWORD threadId);
bool waitForFocus(DWORD threadId, HWND expected, DWORD timeoutMs = kDefaultTimeoutMs);
bool waitForForeground(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);
// SendMessage that gives up after a few seconds; delivered tells whether it got
// an answer.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool* delivered = nullptr);

// A plain top-level window of the driver's own, e.g. "another program" to switch to.
class DriverWindow {
public:
    DriverWindow() = default;
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;
    ~DriverWindow();
    bool create(const char* title, const RECT& outer);
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// ---- Input, through SendInput as a user's keyboard and mouse give it

enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };
// Presses and releases a key with the modifiers held.
bool pressKey(WORD virtualKey, unsigned modifiers = kNoModifier);
// Types ASCII text key by key.
bool typeText(const std::string& text);
bool moveMouse(POINT screen);
// A left click at a screen point, or its two halves.
bool click(POINT screen);
bool pressMouse(POINT screen);
bool releaseMouse(POINT screen);
// A left click at a point of a window's client area.
bool clickInWindow(HWND window, POINT client);
// A point on a window's title bar, left of its middle, and a left click there.
// Under Wine a press there starts the window's move loop, which ends with the
// release; wait for it (guiThreadFlags, GUI_INMOVESIZE) before posting to the window.
POINT titleBarPoint(HWND window);
bool clickTitleBar(HWND window);
POINT centreOf(const RECT& rect);

// ---- Message boxes (dialogs of class "#32770")

HWND waitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
// The box's message: its static text with id 0xFFFF.
std::string messageBoxText(HWND box);
HWND dialogItem(HWND dialog, int id);

// ---- Screen pixels

class Image {
public:
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixel at (x, y) of the image; CLR_INVALID outside it.
    COLORREF at(int x, int y) const;
    // Pixels of area (image coordinates) that match, and the smallest rectangle
    // around them (empty when none).
    int count(const RECT& area, const std::function<bool(COLORREF)>& match) const;
    RECT boundsOf(const RECT& area, const std::function<bool(COLORREF)>& match) const;
    bool savePng(const std::string& path) const;

private:
    friend bool captureScreen(const RECT& area, Image& image);
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;  // rows top to bottom
};

// Copies a screen rectangle's pixels.
bool captureScreen(const RECT& area, Image& image);
bool isDark(COLORREF color);
// Colours equal within tolerance in each of red, green and blue.
bool sameColor(COLORREF a, COLORREF b, int tolerance = 0);
// A rectangle moved so that its coordinates are relative to origin.
RECT relativeTo(const RECT& rect, POINT origin);
// How much of what the screen shows at place looks like icon drawn there over
// the colour of place's top-left corner: the share of equal pixels, 0 to 1.
// Icon handles belong to their process, so icons are compared by their looks.
double iconLikeness(const RECT& place, HICON icon);

}  // namespace kelvaro::driver
