// A stand-in for the browser, to see which web pages a program opened.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvaro::testing {

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
    // The same as noted, one address a line; empty when none was opened.
    std::string openedText() const;

private:
    std::string record_;
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::string old_;
    DWORD oldType_ = REG_SZ;
};

}  // namespace kelvaro::testing
