#include "ansi_text.h"

namespace kelvaro {

std::string asciiLower(const std::string& text) {
    std::string lower = text;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(lower[i]);
        if (isLeadByte(c)) {
            ++i;  // keep the trail byte as it is
        } else if (c >= 'A' && c <= 'Z') {
            lower[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::string folderOf(const std::string& path) {
    std::string::size_type last = std::string::npos;
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\') {
            last = i;
        }
    }
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace kelvaro
