#include "program_probes.h"

#include <sstream>

namespace kelvaro::testing {

std::string unixPath(const std::string& windowsPath) {
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

std::string readBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

namespace {

constexpr const char* kBrowserKey = "Software\\Wine\\WineBrowser";
constexpr const char* kBrowserValue = "Browsers";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

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
    const std::string bytes = readBytes(record_);
    return bytes == "<unreadable>" ? std::vector<std::string>() : lines(bytes);
}

MenuProbe::MenuProbe(const std::string& probePath, DWORD programThread) : log_(probePath + ".log") {
    DeleteFileA(log_.c_str());
    module_ = LoadLibraryA(probePath.c_str());
    if (module_ == nullptr) return;
    auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, "menuProbeHook")));
    if (hook != nullptr) hook_ = SetWindowsHookExA(WH_CALLWNDPROC, hook, module_, programThread);
}

MenuProbe::~MenuProbe() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    if (module_ != nullptr) FreeLibrary(module_);
}

std::vector<std::vector<std::string>> MenuProbe::menus() const {
    std::vector<std::vector<std::string>> result;
    const std::string bytes = readBytes(log_);
    if (bytes == "<unreadable>") return result;
    for (const std::string& line : lines(bytes)) {
        if (line.rfind("menu ", 0) == 0) {
            result.emplace_back();
        } else if (!result.empty()) {
            result.back().push_back(line);
        }
    }
    return result;
}

}  // namespace kelvaro::testing
