// The program's own skin: standard controls of the GUI thread painted in the
// manner of the Windows XP visual style.
#pragma once

namespace kelvaro {

// The handler of the main window's created event: turns the look on, scheme 1.
void onMainWindowCreated();

// Installs the look for every control of the calling thread, existing and later
// ones; returns 1.
int setXpLook(int scheme);

}  // namespace kelvaro
