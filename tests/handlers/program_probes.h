// Stand-ins and probes that let a test see what the program did where a user
// would look: the pages its browser was given, the items of its pop-up menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvaro::testing {

// The Unix path Wine maps a "Z:\..." path to; for ASCII paths.
std::string unixPath(const std::string& windowsPath);

// Wine hands web addresses to the Unix programs its registry lists under
// HKCU\Software\Wine\WineBrowser "Browsers". While this exists, a shell script
// that notes each address it gets stands in for the browser; the value is put
// back afterwards.
class RecordingBrowser {
public:
    // folder: an existing folder with an ASCII path for the script and its record.
    explicit RecordingBrowser(const std::string& folder);
    ~RecordingBrowser();
    RecordingBrowser(const RecordingBrowser&) = delete;
    RecordingBrowser& operator=(const RecordingBrowser&) = delete;

    // The addresses opened so far, in order.
    std::vector<std::string> opened() const;

private:
    std::string record_;
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::string old_;
    DWORD oldType_ = REG_SZ;
};

// Under Wine a menu handle is usable only in its own process, so a hook module
// (menu_probe.dll) is loaded into the program's GUI thread and notes the items
// of every pop-up menu as it opens.
class MenuProbe {
public:
    MenuProbe(const std::string& probePath, DWORD programThread);
    ~MenuProbe();
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;

    bool installed() const { return hook_ != nullptr; }

    // One entry per menu opened so far: its items, one "id text" each.
    std::vector<std::vector<std::string>> menus() const;

private:
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
    std::string log_;
};

// What the user saw in one message box.
struct SeenBox {
    bool found = false;
    std::string title;
    std::string text;
    // The system icon it showed (IDI_ERROR, IDI_INFORMATION, IDI_WARNING or
    // IDI_QUESTION); null when it showed none of them.
    LPCSTR icon = nullptr;
    bool closed = false;  // gone after OK
};

// Waits for a message box of the process, reads it, presses OK and waits until
// it is gone.
SeenBox answerMessageBox(DWORD processId, int timeoutMs = 20000);

// The whole content of a file; "<unreadable>" when it cannot be read.
std::string readBytes(const std::string& path);
bool writeBytes(const std::string& path, const std::string& bytes);

}  // namespace kelvaro::testing
