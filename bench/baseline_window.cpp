// The smallest Win32 program that does what Kelvaro's start-up must: register a
// class, create and show one 380 x 250 window, and run a message loop until the
// window is closed. The start-up and memory benchmarks compare Kelvaro with it.
//
// Built a second time with KELVARO_FORM_CONTROLS as form_baseline: the same
// window holding Kelvaro's fourteen controls with their Chinese texts, as plain
// standard controls (no OLE, no XP look, no label class of its own). Its ratio to
// the baseline shows what the form alone costs under the same Wine.
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
#ifdef KELVARO_FORM_CONTROLS
    const struct { const char* cls; const char* text; DWORD style; DWORD ex; int x, y, w, h; } controls[] = {
        {"BUTTON", "消除", BS_PUSHBUTTON, 0, 213, 183, 83, 33}, {"STATIC", "v1", 0, 0, 353, -3, 23, 23},
        {"STATIC", "背景：", SS_CENTER, 0, 13, 63, 63, 20}, {"BUTTON", "设置", BS_PUSHBUTTON, 0, 73, 183, 83, 33},
        {"BUTTON", "。。。", BS_PUSHBUTTON, 0, 283, 63, 53, 23}, {"EDIT", "", ES_READONLY, WS_EX_CLIENTEDGE, 83, 63, 183, 23},
        {"STATIC", "提示信息：", SS_CENTER, 0, 13, 103, 63, 23}, {"EDIT", "Kelvaro", 0, WS_EX_CLIENTEDGE, 83, 103, 183, 23},
        {"BUTTON", "。。。", BS_PUSHBUTTON, 0, 283, 23, 53, 23}, {"STATIC", "图标：", SS_CENTER, 0, 13, 23, 63, 23},
        {"EDIT", "", ES_READONLY, WS_EX_CLIENTEDGE, 83, 23, 183, 23}, {"BUTTON", "。。。", BS_PUSHBUTTON, 0, 283, 143, 53, 23},
        {"STATIC", "应用目录：", SS_CENTER, 0, 13, 143, 63, 23}, {"EDIT", "", ES_READONLY, WS_EX_CLIENTEDGE, 83, 143, 183, 23},
    };
    for (const auto& c : controls) {
        HWND child = CreateWindowExA(c.ex, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.w, c.h, window, nullptr, instance, nullptr);
        SendMessageA(child, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    }
#endif
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
