// The four fields of the main window, as texts.
#pragma once

#include <string>

#include "main_window.h"
#include "text_helpers.h"

namespace kelvaro {

// The field's current content, read from its edit box now, as a new text.
std::string readField(Field which);

// Replaces the field's whole content, read-only fields included; a missing text
// empties it.
void writeField(Field which, TextPart text);

}  // namespace kelvaro
