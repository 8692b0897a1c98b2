// The smallest Win32 program that does what Kelvaro's start-up must: register a
// class, create and show one 380 x 250 window, and run a message loop until the
// window is closed. The start-up and memory benchmarks compare Kelvaro with it.
#include <windows.h>

namespace {

LRESULT CALLBACK baselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = baselineProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "KelvaroBaseline";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, "KelvaroBaseline", "baseline", WS_OVERLAPPED | WS_CAPTION,
                                  (GetSystemMetrics(SM_CXSCREEN) - 380) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - 250) / 2, 380, 250, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
