#include "centred_edit.h"

#include <windowsx.h>

namespace kelvaro {
namespace {

constexpr const char* kPreviousProcProperty = "Kelvaro.EditProc";

// The height of a text in the edit box's own font.
int textHeight(HWND edit, const char* text, int length) {
    HDC dc = GetDC(edit);
    if (!dc) return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(edit, dc);
    return size.cy;
}

int lineHeight(HWND edit) { return textHeight(edit, "W", 1); }

// Narrows the usual client rectangle to one line in its vertical middle.
void centreLine(HWND edit, RECT& client) {
    int line = lineHeight(edit);
    int height = client.bottom - client.top;
    if (line <= 0 || height <= line) return;
    client.top += (height - line) / 2;
    client.bottom = client.top + line;
}

// The strips above and below the line take the box's own background, as the
// parent answers its colour request; the border is drawn over them afterwards.
void paintStrips(HWND edit) {
    HDC dc = GetWindowDC(edit);
    if (!dc) return;
    RECT window;
    GetWindowRect(edit, &window);
    RECT client;
    GetClientRect(edit, &client);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);

    LONG style = GetWindowLongA(edit, GWL_STYLE);
    UINT colorMessage =
        (style & ES_READONLY) || !IsWindowEnabled(edit) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        GetParent(edit), colorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
    if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);

    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &window, brush);
    ReleaseDC(edit, dc);
}

LRESULT CALLBACK centredEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kPreviousProcProperty));
    if (!previous) return DefWindowProcA(edit, message, wParam, lParam);
    switch (message) {
    case WM_NCCALCSIZE: {
        LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
        // The first rectangle of NCCALCSIZE_PARAMS and the plain RECT coincide.
        centreLine(edit, *reinterpret_cast<RECT*>(lParam));
        return result;
    }
    case WM_NCPAINT:
        paintStrips(edit);
        break;
    case WM_NCHITTEST: {
        LRESULT hit = CallWindowProcA(previous, edit, message, wParam, lParam);
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT window;
        GetWindowRect(edit, &window);
        RECT client;
        GetClientRect(edit, &client);
        MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (PtInRect(&window, point) && !PtInRect(&client, point)) return HTBORDER;
        return hit;
    }
    case WM_SETFONT: {
        LRESULT result = CallWindowProcA(previous, edit, message, wParam, lParam);
        SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return result;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(edit, kPreviousProcProperty);
        break;
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}

}  // namespace

bool centreEditText(HWND edit) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    if (!previous || !SetPropA(edit, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous)))
        return false;
    SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(centredEditProc));
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void ensureEditFitsLine(HWND edit) {
    if (GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE) return;
    static const char kTallCharacter[] = "吴";
    int needed = textHeight(edit, kTallCharacter, sizeof kTallCharacter - 1) +
                 2 * GetSystemMetrics(SM_CYEDGE);
    RECT box;
    GetWindowRect(edit, &box);
    if (box.bottom - box.top < needed)
        SetWindowPos(edit, nullptr, 0, 0, box.right - box.left, needed,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvaro
