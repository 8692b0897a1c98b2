// Menus made from an ordered list of entries, shown as pop-up menus. An entry's
// level places it under the nearest earlier entry of a lower level; its command
// id is kFirstMenuCommandId plus its position in the list.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kelvaro {

struct MenuEntry {
    std::string text;  // "-" makes a separator
    int level = 0;     // 0 for a top entry, one more for each step down
    bool hidden = false;
    bool disabled = false;
    bool checked = false;
    unsigned shortcut = 0;  // none in this program
    void (*selected)() = nullptr;
};

using MenuEntries = std::vector<MenuEntry>;

// The window's child controls stay below this id; commands from here up belong
// to the menu entries.
inline constexpr unsigned kFirstMenuCommandId = 20000;
// Commands from here up are the system's own, never a menu entry's.
inline constexpr unsigned kFirstReservedCommandId = 57600;  // 0xE100

inline unsigned menuCommandId(std::size_t position) {
    return kFirstMenuCommandId + static_cast<unsigned>(position);
}

// The entry that command id names, or null. id is the low word of WM_COMMAND's
// wParam.
const MenuEntry* menuEntryForCommand(const MenuEntries& entries, unsigned id);

// Runs the selected handler of the entry that command id names, if there is one.
void runMenuCommand(const MenuEntries& entries, unsigned id);

// Builds a fresh pop-up menu of the entries one level below entries[position],
// shows it at the mouse pointer moved 3 pixels right and down, owned by owner,
// and destroys it when the user has chosen or dismissed. A chosen item reaches
// owner as WM_COMMAND after this returns. Shows nothing when the entry has no
// entries below it.
void showPopupMenu(const MenuEntries& entries, std::size_t position, HWND owner);

// The pop-up menu of entries[position] without showing it; null when the entry
// has no entries below it. The caller destroys it.
HMENU buildPopupMenu(const MenuEntries& entries, std::size_t position);

}  // namespace kelvaro
