// One open-file dialog of the main window, with the file the user last confirmed.
#pragma once

#include <windows.h>

#include <string>

namespace kelvaro {

class FilePicker {
public:
    int kind = 0;  // 0: open-file dialog, 1: save-file dialog
    std::string title;  // the caption; empty for Windows' own
    std::string filter;  // "description|pattern", further pairs after another '|'
    int initialFilter = 0;  // the pair selected at first, counted from 0
    std::string initialFolder;
    std::string defaultExtension;
    bool promptCreate = false;
    bool fileMustExist = false;
    bool promptOverwrite = false;
    bool folderMustExist = false;
    bool keepCurrentFolder = false;

    // Shows the dialog, owned by the main window. True when the user confirmed a
    // file, which fileName then holds; otherwise fileName keeps what it had.
    bool open();
    // The same with an owner of the caller's choice (none when null).
    bool open(HWND owner);

    // A copy of the full path last confirmed in this dialog; the empty text
    // before the first.
    std::string fileName() const { return fileName_; }

private:
    // The OPENFILENAMEA flags of the switches.
    DWORD dialogFlags() const;

    std::string fileName_;
};

}  // namespace kelvaro
