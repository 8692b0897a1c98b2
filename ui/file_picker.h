// One open-file dialog of the main window, with the file the user last confirmed.
#pragma once

#include <string>

namespace kelvaro {

class FilePicker {
public:
    int kind = 0;  // 0: open-file dialog, 1: save-file dialog
    std::string title;
    std::string filter;  // "description|pattern", further pairs after another '|'
    int initialFilter = 0;
    std::string initialFolder;
    std::string defaultExtension;
    bool promptCreate = false;
    bool fileMustExist = false;
    bool promptOverwrite = false;
    bool folderMustExist = false;
    bool keepCurrentFolder = false;

    // Shows the dialog, owned by the main window. True when the user confirmed a
    // file, which fileName then holds.
    bool open();

    std::string fileName() const { return fileName_; }

private:
    std::string fileName_;
};

}  // namespace kelvaro
