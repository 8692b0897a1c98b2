// The "。。。" buttons fill the read-only fields from their dialogs.
#include "event_handlers.h"

#include "fields.h"
#include "folder_browser.h"
#include "main_window.h"

namespace kelvaro {
namespace {

constexpr const char* kFolderBrowserTitle = "请选择要自定义图标的文件夹：";

// Writes the dialog's remembered file into the field, confirmed or not: after a
// cancel the field gets back the file last confirmed in that dialog.
void pickFile(FilePicker& dialog, Field field) {
    dialog.open();
    writeField(field, dialog.fileName());
}

}  // namespace

// A cancel, or an item without a file-system path, empties the field.
void pickFolder() { writeField(Field::folder, browseForFolder(kFolderBrowserTitle)); }

void pickIconFile() {
    if (MainWindow* window = mainWindow()) pickFile(window->iconDialog(), Field::icon);
}

void pickBackgroundFile() {
    if (MainWindow* window = mainWindow()) pickFile(window->imageDialog(), Field::background);
}

void onSetClicked() {}
void onClearClicked() {}
void onVersionLabelPressed(int, int, int) {}
void onMenuCommand(unsigned) {}

}  // namespace kelvaro
