#include "xp_test_support.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kelvaro::xptest {

void pumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        pumpPending();
        if (done()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(20, timeoutMs - spent), QS_ALLINPUT);
    }
}

COLORREF clientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF windowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

bool savePicture(HDC source, int width, int height, const std::string& path) {
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD stride = ((width * 3) + 3) & ~3u;
        const DWORD imageSize = stride * height;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                    std::fwrite(bits, imageSize, 1, out) == 1;
            saved = std::fclose(out) == 0 && saved;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return saved;
}

bool saveWindowShot(HWND window, const std::string& path) {
    RECT rc;
    if (!GetWindowRect(window, &rc)) return false;
    HDC source = GetWindowDC(window);
    const bool saved = savePicture(source, rc.right - rc.left, rc.bottom - rc.top, path);
    ReleaseDC(window, source);
    return saved;
}

namespace {
BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND findThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string colourText(COLORREF colour) {
    char text[40];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

}  // namespace kelvaro::xptest
