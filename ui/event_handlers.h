// What the window's controls do when the user acts on them. The form table binds
// these to control events; each runs on the GUI thread inside the message loop.
#pragma once

#include "folder_personalization.h"

namespace kelvaro {

// The three "。。。" buttons.
void pickFolder();
void pickIconFile();
void pickBackgroundFile();

// "设置" and "消除", and the request they read from the four fields.
FolderPersonalization readPersonalization();
void onSetClicked();
void onClearClicked();

// A left-button press on the "v1" label, in the label's client coordinates; keys
// holds Ctrl 1, Shift 2, Alt 4.
void onVersionLabelPressed(int x, int y, int keys);

// A WM_COMMAND of the pop-up menu's range (20000 up to 57599).
void onMenuCommand(unsigned id);

}  // namespace kelvaro
