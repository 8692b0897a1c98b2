#include "recording_browser.h"

#include <sstream>

#include "real_files.h"

namespace kelvaro::testing {
namespace {

constexpr const char* kBrowserKey = "Software\\Wine\\WineBrowser";
constexpr const char* kBrowserValue = "Browsers";

}  // namespace

RecordingBrowser::RecordingBrowser(const std::string& folder) : record_(folder + "\\opened.txt") {
    const std::string script = folder + "\\browser.sh";
    DeleteFileA(record_.c_str());
    writeBytes(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + unixPath(record_) + "'\n");
    RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    char old[2048];
    DWORD size = sizeof old;
    hadOld_ = RegQueryValueExA(key_, kBrowserValue, nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
              ERROR_SUCCESS;
    if (hadOld_) old_.assign(old, size);
    const std::string browser = "/bin/sh \"" + unixPath(script) + "\"";
    RegSetValueExA(key_, kBrowserValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>(browser.size() + 1));
}

RecordingBrowser::~RecordingBrowser() {
    if (hadOld_) {
        RegSetValueExA(key_, kBrowserValue, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    } else {
        RegDeleteValueA(key_, kBrowserValue);
    }
    RegCloseKey(key_);
}

std::vector<std::string> RecordingBrowser::opened() const {
    std::vector<std::string> result;
    std::istringstream in(openedText());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::string RecordingBrowser::openedText() const {
    const std::string bytes = readBytes(record_);
    return bytes == "<unreadable>" ? std::string() : bytes;
}

}  // namespace kelvaro::testing
