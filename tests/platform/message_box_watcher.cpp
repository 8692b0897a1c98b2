#include "message_box_watcher.h"

#include "gui_driver.h"

namespace kelvaro::testing {
namespace {

struct BoxSearch {
    DWORD processId;
    DWORD threadId;
    HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    char windowClass[16] = "";
    GetClassNameA(window, windowClass, sizeof(windowClass));
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (lstrcmpA(windowClass, "#32770") == 0 && IsWindowVisible(window) &&
        processId == search->processId &&
        (search->threadId == 0 || threadId == search->threadId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK matchIcon(HWND child, LPARAM parameter) {
    char windowClass[16] = "";
    GetClassNameA(child, windowClass, sizeof(windowClass));
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(windowClass, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(parameter) = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD processId, DWORD threadId,
                                     std::function<void(HWND, SeenMessageBox&)> whileShown,
                                     DWORD deadlineMilliseconds)
    : processId_(processId),
      threadId_(threadId),
      whileShown_(std::move(whileShown)),
      deadline_(deadlineMilliseconds),
      thread_([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    if (thread_.joinable()) thread_.join();
}

const SeenMessageBox& MessageBoxWatcher::result() {
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void MessageBoxWatcher::watch() {
    BoxSearch search = {processId_, threadId_, nullptr};
    const bool found = driver::waitUntil(
        [&] {
            search.found = nullptr;
            EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
            // The box is read once its text is in place.
            return search.found != nullptr &&
                   GetDlgItem(search.found, 0xFFFF) != nullptr;
        },
        deadline_);
    if (!found) return;
    const HWND box = search.found;

    seen_.found = true;
    seen_.title = driver::windowText(box);
    seen_.text = driver::windowText(GetDlgItem(box, 0xFFFF));
    HWND iconStatic = nullptr;
    EnumChildWindows(box, matchIcon, reinterpret_cast<LPARAM>(&iconStatic));
    if (iconStatic != nullptr) {
        seen_.icon = reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0));
        GetWindowRect(iconStatic, &seen_.iconPlace);
    }
    if (whileShown_) whileShown_(box, seen_);

    // The user presses OK.
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    seen_.closed = driver::waitUntil([box] { return !IsWindow(box); }, deadline_);
}

}  // namespace kelvaro::testing
