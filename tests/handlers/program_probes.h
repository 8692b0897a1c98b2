// Probes that let a test see what the program did where a user would look: the
// items of its pop-up menu, its message boxes. The pages its browser was given
// are in recording_browser.h, the files it wrote in real_files.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvaro::testing {

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

}  // namespace kelvaro::testing
