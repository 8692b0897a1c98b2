#include "version_menu.h"

namespace kelvaro {
namespace {

bool hasEntriesBelow(const MenuEntries& entries, std::size_t position) {
    return position + 1 < entries.size() && entries[position + 1].level > entries[position].level;
}

// Appends the entries one level below entries[parent] to menu; false when a
// submenu could not be made.
bool appendEntriesBelow(HMENU menu, const MenuEntries& entries, std::size_t parent) {
    const int level = entries[parent].level;
    for (std::size_t i = parent + 1; i < entries.size() && entries[i].level > level; ++i) {
        const MenuEntry& entry = entries[i];
        // Deeper entries are reached through their own parent's submenu.
        if (entry.level != level + 1 || entry.hidden) continue;
        if (entry.text == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (entry.disabled) flags |= MF_GRAYED;
        if (entry.checked) flags |= MF_CHECKED;
        if (hasEntriesBelow(entries, i)) {
            HMENU submenu = CreatePopupMenu();
            if (submenu == nullptr) return false;
            if (!appendEntriesBelow(submenu, entries, i) ||
                !AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                             entry.text.c_str())) {
                DestroyMenu(submenu);
                return false;
            }
        } else {
            AppendMenuA(menu, flags, menuCommandId(i), entry.text.c_str());
        }
    }
    return true;
}

}  // namespace

const MenuEntry* menuEntryForCommand(const MenuEntries& entries, unsigned id) {
    if (id < kFirstMenuCommandId || id >= kFirstReservedCommandId) return nullptr;
    const std::size_t position = id - kFirstMenuCommandId;
    return position < entries.size() ? &entries[position] : nullptr;
}

void runMenuCommand(const MenuEntries& entries, unsigned id) {
    const MenuEntry* entry = menuEntryForCommand(entries, id);
    if (entry != nullptr && entry->selected != nullptr) entry->selected();
}

HMENU buildPopupMenu(const MenuEntries& entries, std::size_t position) {
    if (!hasEntriesBelow(entries, position)) return nullptr;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return nullptr;
    if (!appendEntriesBelow(menu, entries, position)) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

void showPopupMenu(const MenuEntries& entries, std::size_t position, HWND owner) {
    HMENU menu = buildPopupMenu(entries, position);
    if (menu == nullptr) return;
    // Where the pointer is now, which may differ from where the press was.
    POINT at = {};
    GetCursorPos(&at);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, owner, nullptr);
    DestroyMenu(menu);
}

}  // namespace kelvaro
