#include "form_label.h"

#include "main_form.h"

namespace kelvaro {
namespace {

// Window extra bytes of a label: its font and its DrawText alignment.
constexpr int kFontSlot = 0;
constexpr int kFormatSlot = sizeof(LONG_PTR);

std::string windowText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

HFONT labelFont(HWND hwnd) {
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, kFontSlot));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void onPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT box;
    GetClientRect(hwnd, &box);
    paintLabel(dc, box, windowText(hwnd), labelFont(hwnd),
               static_cast<UINT>(GetWindowLongPtrA(hwnd, kFormatSlot)));
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        auto create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, kFormatSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_SETFONT:
        SetWindowLongPtrA(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrA(hwnd, kFontSlot);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole label
    case WM_PAINT:
        onPaint(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

bool registerLabelClass(HINSTANCE instance) {
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    if (GetClassInfoExA(instance, kLabelClass, &known)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = labelProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kLabelClass;
    return RegisterClassExA(&wc) != 0;
}

HWND createLabel(HWND parent, int id, const char* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, UINT format) {
    return CreateWindowExA(exStyle, kLabelClass, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr),
                           reinterpret_cast<void*>(static_cast<UINT_PTR>(format)));
}

void paintLabel(HDC dc, const RECT& box, const std::string& text, HFONT font, UINT format) {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    if (text.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    RECT textBox = box;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textBox,
              DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

}  // namespace kelvaro
