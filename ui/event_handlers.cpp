// Placeholder handlers: the pickers, the Set and Clear buttons and the menu fill these.
#include "event_handlers.h"

namespace kelvaro {

void pickFolder() {}
void pickIconFile() {}
void pickBackgroundFile() {}
void onSetClicked() {}
void onClearClicked() {}
void onVersionLabelPressed(int, int, int) {}
void onMenuCommand(unsigned) {}

}  // namespace kelvaro
