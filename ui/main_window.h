// The program's only window: its form, controls, fields and file dialogs.
#pragma once

#include <windows.h>

#include "file_picker.h"

namespace kelvaro {

// The four fields the handlers read and write.
enum class Field { folder, icon, tip, background };

class MainWindow {
public:
    HWND hwnd() const;
    // The edit box of a field.
    HWND field(Field which) const;
    FilePicker& iconDialog();
    FilePicker& imageDialog();
    // Asks for the window's destruction once the current message is handled.
    void requestDestroy();
    // (The window's own implementation adds what else it needs.)
};

// The running program's main window; null before it is created and after it is gone.
MainWindow* mainWindow();

}  // namespace kelvaro
