// Starts Kelvaro, waits until its window is shown and painted, saves a PNG of the
// whole screen and ends the program again. The run command uses it on machines
// without a display. Messages go to standard output, so the caller can keep Wine's
// own chatter on standard error apart.
//
//   show_kelvaro.exe kelvaro.exe screen.png
#include <windows.h>

#include <cstdio>

#include "gui_driver.h"
#include "kelvaro_session.h"

using namespace kelvaro::driver;

namespace {

// A window not yet drawn shows as pure black on this screen. The window has
// drawn itself once its background shows and no control is black all over.
bool painted(HWND window) {
    RECT outer = windowRect(window);
    RECT client = clientRect(window);
    Image shot;
    if (!captureScreen(outer, shot)) return false;
    POINT origin = {outer.left, outer.top};
    auto notBlack = [](COLORREF c) { return c != RGB(0, 0, 0); };
    RECT inside = relativeTo(client, origin);
    if (!sameColor(shot.at(inside.left + 8, inside.top + 8), GetSysColor(COLOR_BTNFACE))) return false;
    for (HWND child : childWindows(window)) {
        RECT place;
        RECT whole = windowRect(child);
        if (!IntersectRect(&place, &client, &whole)) continue;
        if (shot.count(relativeTo(place, origin), notBlack) == 0) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: show_kelvaro kelvaro.exe screen.png\n");
        return 2;
    }
    KelvaroSession kelvaro;
    if (!kelvaro.start({}, windowsPath(argv[1]))) {
        std::printf("show_kelvaro: Kelvaro's window did not appear\n");
        return 1;
    }
    Image screen;
    RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    bool shown = waitUntil([&] { return painted(kelvaro.window()); }) && captureScreen(all, screen) &&
                 screen.savePng(windowsPath(argv[2]));
    DWORD code = 1;
    bool ended = kelvaro.close(&code) && code == 0;
    if (!shown) std::printf("show_kelvaro: no screenshot\n");
    if (!ended) std::printf("show_kelvaro: Kelvaro did not end normally\n");
    return shown && ended ? 0 : 1;
}
