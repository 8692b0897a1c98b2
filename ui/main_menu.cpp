#include "main_menu.h"

#include "event_handlers.h"
#include "main_window.h"
#include "notice_service.h"
#include "windows_notice_service.h"

namespace kelvaro {

const MenuEntries& mainMenuEntries() {
    static const MenuEntries entries = [] {
        MenuEntries list(4);
        list[kPopupMenu] = {"菜单", 0, /*hidden*/ true};
        list[kExitItem] = {"退出", 1};
        list[kExitItem].selected = onExitItemSelected;
        list[kUpdateItem] = {"本软件更新", 1};
        list[kUpdateItem].selected = onUpdateItemSelected;
        list[kAboutItem] = {"关于Kelvaro", 1};
        list[kAboutItem].selected = onAboutItemSelected;
        return list;
    }();
    return entries;
}

// The press itself opens the menu, before the button is released; where it was
// and which keys were held make no difference.
void onVersionLabelPressed(int, int, int) {
    if (MainWindow* window = mainWindow()) showPopupMenu(mainMenuEntries(), kPopupMenu, window->hwnd());
}

void onMenuCommand(unsigned id) { runMenuCommand(mainMenuEntries(), id); }

// The window goes once the menu has closed and this command is handled.
void onExitItemSelected() {
    if (MainWindow* window = mainWindow()) window->requestDestroy();
}

void onUpdateItemSelected() { WindowsNoticeService().openWebPage(kUpdatePagePath); }

void onAboutItemSelected() { WindowsNoticeService().openWebPage(kAboutPagePath); }

}  // namespace kelvaro
