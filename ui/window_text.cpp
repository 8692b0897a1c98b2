#include "window_text.h"

#include <cstring>

namespace kelvaro {

std::string readWindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    // The length may overstate what is copied (double-byte texts); the terminator
    // that GetWindowTextA writes tells where the text ends.
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

void writeWindowText(HWND window, TextPart text) { SetWindowTextA(window, text.data()); }

}  // namespace kelvaro
