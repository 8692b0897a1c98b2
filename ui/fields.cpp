#include "fields.h"

#include "window_text.h"

namespace kelvaro {

std::string readField(Field which) {
    MainWindow* window = mainWindow();
    return window ? readWindowText(window->field(which)) : std::string();
}

void writeField(Field which, TextPart text) {
    if (MainWindow* window = mainWindow()) writeWindowText(window->field(which), text);
}

}  // namespace kelvaro
