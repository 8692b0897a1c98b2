// How the program reaches the user: notices, forum pages and fatal errors.
#pragma once

#include <cstdint>
#include <string>

namespace kelvaro {

// Message-box style bits, passed through unchanged.
enum class NoticeKind : std::uint32_t {
    error = 16,        // MB_ICONERROR
    information = 64,  // MB_ICONINFORMATION
};

inline constexpr const char* kUpdatePagePath = "/thread-12402-1-1.html";
inline constexpr const char* kAboutPagePath = "/thread-9282-1-1.html";

class NoticeService {
public:
    virtual ~NoticeService() = default;

    virtual void showNotice(const std::string& text, NoticeKind kind, const std::string& title) = 0;
    // Opens the forum page at path in the user's browser.
    virtual void openWebPage(const std::string& path) = 0;
    // Tells the user and ends the process with exit code -1; does not return.
    [[noreturn]] virtual void reportFatalError(const std::string& message) = 0;
};

}  // namespace kelvaro
