// The main window's form: the window itself and, in their stored order, every
// control, menu entry and file dialog it holds. Building the window is one loop
// over this table; nothing in it is configurable.
#pragma once

#include <windows.h>

#include <cstddef>

#include "main_window.h"

namespace kelvaro {

inline constexpr const char* kMainWindowClass = "WTWindow";
inline constexpr const char* kLabelClass = "WTLabel";
inline constexpr const char* kProgramIconName = "DEFAULT_ICON";

// Child control ids run from 100 in steps of 10, in the table's order, below the
// pop-up menu's commands (kFirstMenuCommandId, version_menu.h).
enum ControlId : int {
    kClearButtonId = 100,
    kVersionLabelId = 110,
    kBackgroundLabelId = 120,
    kSetButtonId = 130,
    kBrowseBackgroundButtonId = 140,
    kBackgroundEditId = 150,
    kTipLabelId = 160,
    kTipEditId = 170,
    kBrowseIconButtonId = 180,
    kIconLabelId = 190,
    kIconEditId = 200,
    kBrowseFolderButtonId = 210,
    kFolderLabelId = 220,
    kFolderEditId = 230,
};

enum class FormKind { fileDialog, pushButton, popupMenu, label, edit };

// A font of the form's own, as CreateFontA takes it.
struct FormFont {
    const char* face;
    int height;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
    BYTE charSet;
    BYTE outPrecision;
    BYTE clipPrecision;
    BYTE quality;
    BYTE pitchAndFamily;
};

enum class PickerSlot { iconDialog, imageDialog };

// The settings of one of the window's two file dialogs.
struct FormFileDialog {
    PickerSlot slot;
    const char* title;
    const char* filter;
    bool fileMustExist;
    bool folderMustExist;
    bool promptOverwrite;
};

struct FormEntry {
    const char* identifier;  // the name the program's code uses
    const char* formName;    // the name the form gives it
    FormKind kind;
    int id;  // child window id; 0 for entries that are no window
    int x, y, width, height;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int tabOrder;
    const FormFont* font;  // null: DEFAULT_GUI_FONT
    UINT textFormat;       // labels: DT_CENTER or DT_LEFT
    Field field;           // edit boxes: the field they hold
    void (*onClicked)();
    void (*onLeftButtonDown)(int x, int y, int keys);
    const FormFileDialog* dialog;
};

struct FormWindow {
    const char* className;
    UINT classStyle;
    const char* title;
    int x, y;  // the place the form records; centring on the screen overrides it
    int width, height;  // outer size, frame and title bar included
    DWORD style;
    DWORD exStyle;
    const char* iconName;
};

struct MainForm {
    const FormWindow* window;
    const FormEntry* entries;
    std::size_t count;
};

// The form of the main window.
const MainForm& mainForm();

}  // namespace kelvaro
