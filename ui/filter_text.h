// The file types of an open-file dialog, from the form's "description|pattern"
// notation to the zero-separated list that the common dialogs read.
#pragma once

#include <string>

namespace kelvaro {

// Strips trailing blanks, ends the list with two bars unless it already does,
// then turns every bar into a zero byte. A bar counts only where a character
// begins: the trail byte of a GBK character may be 0x7C and stays as it is.
// An empty or blank filter gives the empty text. Otherwise the result ends in
// two zero bytes of its own, before the string's terminator.
std::string prepareFilter(const std::string& filter);

}  // namespace kelvaro
