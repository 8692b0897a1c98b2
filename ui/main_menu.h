// The version label's menu: the main window's menu entries and what they do.
#pragma once

#include <cstddef>

#include "version_menu.h"

namespace kelvaro {

// Positions in the list; the command id of each is kFirstMenuCommandId plus it.
enum MainMenuEntry : std::size_t {
    kPopupMenu = 0,  // the hidden root, shown only as the pop-up
    kExitItem = 1,
    kUpdateItem = 2,
    kAboutItem = 3,
};

// popupMenu, exitItem, updateItem and aboutItem, in this order.
const MenuEntries& mainMenuEntries();

// The selected handlers of the three items.
void onExitItemSelected();
void onUpdateItemSelected();
void onAboutItemSelected();

}  // namespace kelvaro
