// The "。。。" buttons fill the read-only fields from their dialogs; "设置" and
// "消除" run Set and Clear on what the fields hold.
#include "event_handlers.h"

#include "fields.h"
#include "folder_browser.h"
#include "main_window.h"
#include "personalization_procedures.h"
#include "windows_file_system.h"
#include "windows_notice_service.h"

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

FolderPersonalization readPersonalization() {
    FolderPersonalization request;
    request.folder = readField(Field::folder);
    request.iconSource = readField(Field::icon);
    request.infoTip = readField(Field::tip);
    request.backgroundSource = readField(Field::background);
    return request;
}

// Read once at the click: while Set or Clear runs, the window takes no input,
// so the fields cannot change under it.
void onSetClicked() {
    WindowsFileSystem files;
    WindowsNoticeService notices;
    applyPersonalization(readPersonalization(), files, notices);
}

void onClearClicked() {
    WindowsFileSystem files;
    WindowsNoticeService notices;
    clearPersonalization(readPersonalization(), files, notices);
}

}  // namespace kelvaro
