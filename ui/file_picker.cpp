#include "file_picker.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

#include "filter_text.h"

namespace kelvaro {
namespace {

constexpr DWORD kFileBufferSize = MAX_PATH;  // a full path of up to 259 bytes
constexpr DWORD kFileTitleSize = 64;
// The layout that ends with lpTemplateName, without the reserved members and
// FlagsEx, which every Windows version since 95 accepts.
constexpr DWORD kDialogStructSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(kDialogStructSize == 76, "OPENFILENAMEA up to lpTemplateName");

const char* textOrNone(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

DWORD FilePicker::dialogFlags() const {
    DWORD flags = OFN_HIDEREADONLY;
    if (promptCreate) flags |= OFN_CREATEPROMPT;
    if (fileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (promptOverwrite) flags |= OFN_OVERWRITEPROMPT;
    if (folderMustExist) flags |= OFN_PATHMUSTEXIST;
    if (keepCurrentFolder) flags |= OFN_NOCHANGEDIR;
    return flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

bool FilePicker::open(HWND owner) {
    const std::string filterList = prepareFilter(filter);

    // Seeded with the last confirmed file, so the dialog opens in its folder and
    // offers its name again.
    char file[kFileBufferSize] = {};
    std::strncpy(file, fileName_.c_str(), kFileBufferSize - 1);
    char fileTitle[kFileTitleSize] = {};

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = kDialogStructSize;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
    dialog.lpstrCustomFilter = nullptr;
    dialog.nFilterIndex = filterList.empty() ? 0 : initialFilter < 0 ? 1 : initialFilter + 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = kFileBufferSize;
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = kFileTitleSize;
    dialog.lpstrInitialDir = textOrNone(initialFolder);
    dialog.lpstrTitle = textOrNone(title);
    dialog.Flags = dialogFlags();
    dialog.lpstrDefExt = textOrNone(defaultExtension);

    HWND focus = GetFocus();
    const bool disabledHere = owner != nullptr && IsWindowEnabled(owner);
    if (disabledHere) EnableWindow(owner, FALSE);
    const BOOL confirmed = kind == 1 ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (disabledHere) EnableWindow(owner, TRUE);
    if (focus != nullptr && IsWindow(focus)) SetFocus(focus);

    if (!confirmed) return false;
    fileName_ = file;
    return true;
}

}  // namespace kelvaro
