// What of the main window the file dialogs need: their owner. Kept apart so the
// dialogs can be shown without the main window.
#include "file_picker.h"
#include "main_window.h"

namespace kelvaro {

bool FilePicker::open() {
    MainWindow* window = mainWindow();
    HWND owner = window != nullptr ? GetLastActivePopup(window->hwnd()) : nullptr;
    return open(owner);
}

}  // namespace kelvaro
