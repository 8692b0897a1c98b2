// Placeholder until the dialogs are shown.
#include "file_picker.h"

namespace kelvaro {

bool FilePicker::open() { return false; }

}  // namespace kelvaro
