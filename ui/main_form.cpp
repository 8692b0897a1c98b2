#include "main_form.h"

#include <iterator>

#include "event_handlers.h"

namespace kelvaro {
namespace {

constexpr DWORD kEditStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP |
                               BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

const FormWindow kWindow = {
    kMainWindowClass,
    CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
    "Kelvaro文件夹个性设置",
    50, 50,
    380, 250,
    WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN,
    0,
    kProgramIconName,
};

const FormFont kVersionLabelFont = {
    "宋体", -20, 700, false, false, false,
    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH,
};

const FormFileDialog kIconDialog = {
    PickerSlot::iconDialog, "选择图片：", "图标文件（ico）|*.ico", true, true, true,
};
const FormFileDialog kImageDialog = {
    PickerSlot::imageDialog, "选择图片：", "图片文件（jpg）|*.jpg", true, true, true,
};

constexpr FormEntry fileDialog(const char* identifier, const char* formName, int x, int y,
                               const FormFileDialog* dialog) {
    return {identifier, formName, FormKind::fileDialog, 0, x, y, 23, 23, nullptr, 0, 0, 0,
            nullptr, 0, Field::folder, nullptr, nullptr, dialog};
}

constexpr FormEntry pushButton(const char* identifier, const char* formName, int id, int x,
                               int y, int width, int height, const char* text,
                               void (*onClicked)()) {
    return {identifier, formName, FormKind::pushButton, id, x, y, width, height, text,
            kButtonStyle, 0, 0, nullptr, 0, Field::folder, onClicked, nullptr, nullptr};
}

constexpr FormEntry popupMenu(const char* identifier) {
    return {identifier, nullptr, FormKind::popupMenu, 0, 0, 0, 0, 0, nullptr, 0, 0, 0,
            nullptr, 0, Field::folder, nullptr, nullptr, nullptr};
}

constexpr FormEntry label(const char* identifier, const char* formName, int id, int x, int y,
                          int width, int height, const char* text, UINT textFormat,
                          const FormFont* font = nullptr,
                          void (*onLeftButtonDown)(int, int, int) = nullptr) {
    return {identifier, formName, FormKind::label, id, x, y, width, height, text,
            kLabelStyle, 0, 0, font, textFormat, Field::folder, nullptr, onLeftButtonDown,
            nullptr};
}

constexpr FormEntry edit(const char* identifier, const char* formName, int id, int x, int y,
                         int width, int height, const char* text, bool readOnly, Field field) {
    return {identifier, formName, FormKind::edit, id, x, y, width, height, text,
            kEditStyle | (readOnly ? DWORD{ES_READONLY} : 0), WS_EX_CLIENTEDGE, 0, nullptr, 0,
            field, nullptr, nullptr, nullptr};
}

// The stored order is also the stacking order, first on top, and the Tab order
// runs through it backwards.
const FormEntry kEntries[] = {
    fileDialog("iconDialog", "通用对话框2", 40, 0, &kIconDialog),
    pushButton("clearButton", "按钮4", kClearButtonId, 213, 183, 83, 33, "消除", onClearClicked),
    popupMenu("popupMenu"),  // its entries are the version menu's; it has no window of its own
    label("versionLabel", "标签5", kVersionLabelId, 353, -3, 23, 23, "v1", DT_LEFT,
          &kVersionLabelFont, onVersionLabelPressed),
    label("backgroundLabel", "标签4", kBackgroundLabelId, 13, 63, 63, 20, "背景：", DT_CENTER),
    pushButton("setButton", "按钮3", kSetButtonId, 73, 183, 83, 33, "设置", onSetClicked),
    fileDialog("imageDialog", "通用对话框1", 3, 3, &kImageDialog),
    pushButton("browseBackgroundButton", "按钮5", kBrowseBackgroundButtonId, 283, 63, 53, 23,
               "。。。", pickBackgroundFile),
    edit("backgroundEdit", "编辑框5", kBackgroundEditId, 83, 63, 183, 23, "", true,
         Field::background),
    label("tipLabel", "标签3", kTipLabelId, 13, 103, 63, 23, "提示信息：", DT_CENTER),
    edit("tipEdit", "编辑框3", kTipEditId, 83, 103, 183, 23, "Kelvaro", false, Field::tip),
    pushButton("browseIconButton", "按钮2", kBrowseIconButtonId, 283, 23, 53, 23, "。。。",
               pickIconFile),
    label("iconLabel", "标签2", kIconLabelId, 13, 23, 63, 23, "图标：", DT_CENTER),
    edit("iconEdit", "编辑框2", kIconEditId, 83, 23, 183, 23, "", true, Field::icon),
    pushButton("browseFolderButton", "按钮1", kBrowseFolderButtonId, 283, 143, 53, 23, "。。。",
               pickFolder),
    label("folderLabel", "标签1", kFolderLabelId, 13, 143, 63, 23, "应用目录：", DT_CENTER),
    edit("folderEdit", "编辑框1", kFolderEditId, 83, 143, 183, 23, "", true, Field::folder),
};

const MainForm kForm = {&kWindow, kEntries, std::size(kEntries)};

}  // namespace

const MainForm& mainForm() { return kForm; }

}  // namespace kelvaro
