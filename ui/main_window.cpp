#include "main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "centred_edit.h"
#include "event_handlers.h"
#include "version_menu.h"
#include "form_label.h"
#include "main_form.h"
#include "program.h"

namespace kelvaro {
namespace {

MainWindow* g_instance = nullptr;

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

bool registerMainWindowClass(const FormWindow& settings, WNDPROC proc) {
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    if (GetClassInfoExA(programInstance(), settings.className, &known)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = settings.classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = programInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = settings.className;
    return RegisterClassExA(&wc) != 0;
}

HFONT createFont(const FormFont& f) {
    return CreateFontA(f.height, 0, 0, 0, f.weight, f.italic, f.underline, f.strikeOut,
                       f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily,
                       f.face);
}

// Ctrl 1, Shift 2, Alt 4, as the mouse events report them.
int modifierKeys() {
    int keys = 0;
    if (GetKeyState(VK_CONTROL) < 0) keys |= 1;
    if (GetKeyState(VK_SHIFT) < 0) keys |= 2;
    if (GetKeyState(VK_MENU) < 0) keys |= 4;
    return keys;
}

bool isFocusable(HWND control) {
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) &&
           IsWindowVisible(control) && IsWindowEnabled(control);
}

}  // namespace

MainWindow::MainWindow() { g_instance = this; }

MainWindow::~MainWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (g_instance == this) g_instance = nullptr;
}

MainWindow* mainWindow() { return g_instance && g_instance->hwnd() ? g_instance : nullptr; }

HWND MainWindow::hwnd() const { return hwnd_; }

HWND MainWindow::field(Field which) const {
    if (!form_) return nullptr;
    for (std::size_t i = 0; i < form_->count && i < controls_.size(); ++i) {
        const FormEntry& entry = form_->entries[i];
        if (entry.kind == FormKind::edit && entry.field == which) return controls_[i];
    }
    return nullptr;
}

HWND MainWindow::control(const char* identifier) const {
    if (!form_) return nullptr;
    for (std::size_t i = 0; i < form_->count && i < controls_.size(); ++i)
        if (std::strcmp(form_->entries[i].identifier, identifier) == 0) return controls_[i];
    return nullptr;
}

FilePicker& MainWindow::iconDialog() { return iconDialog_; }
FilePicker& MainWindow::imageDialog() { return imageDialog_; }

void MainWindow::requestDestroy() {
    if (!hwnd_) return;
    destroyPending_ = true;
    PostMessageA(hwnd_, kDestroyRequestMessage, 0, 0);
}

bool MainWindow::create(const MainForm& form) {
    form_ = &form;
    const FormWindow& settings = *form.window;
    if (!registerMainWindowClass(settings, windowProc) || !registerLabelClass(programInstance()))
        return false;

    // Centred on the primary screen; the place the form records gives way to it.
    int left = (GetSystemMetrics(SM_CXSCREEN) - settings.width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - settings.height) / 2;
    CreateWindowExA(settings.exStyle, settings.className, settings.title, settings.style, left,
                    top, settings.width, settings.height, nullptr, nullptr, programInstance(), this);
    if (!hwnd_) return false;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    if (outer.right - outer.left != settings.width || outer.bottom - outer.top != settings.height)
        SetWindowPos(hwnd_, nullptr, left, top, settings.width, settings.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);

    setIcons();
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (!createControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    return true;
}

void MainWindow::setIcons() {
    const char* name = form_->window->iconName;
    bigIcon_ = static_cast<HICON>(LoadImageA(programInstance(), name, IMAGE_ICON, 32, 32, 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(programInstance(), name, IMAGE_ICON, 16, 16, 0));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

bool MainWindow::createControls() {
    controls_.assign(form_->count, nullptr);
    HWND above = HWND_TOP;
    for (std::size_t i = 0; i < form_->count; ++i) {
        const FormEntry& entry = form_->entries[i];
        if (entry.kind == FormKind::fileDialog) configurePicker(entry);
        if (entry.kind == FormKind::fileDialog || entry.kind == FormKind::popupMenu) continue;
        HWND control = createControl(entry);
        if (!control) return false;
        controls_[i] = control;
        // Stacked in the table's order, the first entry on top.
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
    return true;
}

HWND MainWindow::createControl(const FormEntry& entry) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (entry.font) {
        font = createFont(*entry.font);
        if (font) ownFonts_.push_back(font);
    }
    auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id));
    HWND control = nullptr;
    switch (entry.kind) {
    case FormKind::label:
        control = createLabel(hwnd_, entry.id, entry.text, entry.style, entry.exStyle, entry.x,
                              entry.y, entry.width, entry.height, entry.textFormat);
        break;
    case FormKind::pushButton:
        control = CreateWindowExA(entry.exStyle, "BUTTON", entry.text, entry.style, entry.x,
                                  entry.y, entry.width, entry.height, hwnd_, id,
                                  programInstance(), nullptr);
        break;
    case FormKind::edit:
        control = CreateWindowExA(entry.exStyle, "EDIT", entry.text, entry.style, entry.x,
                                  entry.y, entry.width, entry.height, hwnd_, id,
                                  programInstance(), nullptr);
        break;
    case FormKind::fileDialog:
    case FormKind::popupMenu:
        break;
    }
    if (!control) return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (entry.kind == FormKind::edit) {
        ensureEditFitsLine(control);
        centreEditText(control);
        SendMessageA(control, EM_LIMITTEXT, 0, 0);
        SendMessageA(control, EM_SETSEL, 0, 0);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
    }
    return control;
}

void MainWindow::configurePicker(const FormEntry& entry) {
    const FormFileDialog& settings = *entry.dialog;
    FilePicker& picker = settings.slot == PickerSlot::iconDialog ? iconDialog_ : imageDialog_;
    picker.kind = 0;
    picker.title = settings.title;
    picker.filter = settings.filter;
    picker.fileMustExist = settings.fileMustExist;
    picker.folderMustExist = settings.folderMustExist;
    picker.promptOverwrite = settings.promptOverwrite;
}

void MainWindow::show() { ShowWindow(hwnd_, SW_SHOW); }

bool MainWindow::preTranslate(const MSG& msg) {
    if (!hwnd_) return false;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
        raiseLeftButtonDown(msg);
        return false;  // the control still gets its press
    case WM_KEYDOWN:
        if (msg.wParam == VK_TAB) return moveFocus(GetKeyState(VK_SHIFT) < 0);
        if (msg.wParam == VK_RETURN) return clickDefaultButton();
        return false;
    }
    return false;
}

void MainWindow::raiseLeftButtonDown(const MSG& msg) {
    const FormEntry* entry = entryOf(msg.hwnd);
    if (entry && entry->onLeftButtonDown)
        entry->onLeftButtonDown(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam), modifierKeys());
}

std::vector<HWND> MainWindow::tabOrder() const {
    // Equal tab-order numbers keep the reverse of the table's order.
    std::vector<std::size_t> rows;
    for (std::size_t i = controls_.size(); i-- > 0;)
        if (isFocusable(controls_[i])) rows.push_back(i);
    std::stable_sort(rows.begin(), rows.end(), [this](std::size_t a, std::size_t b) {
        return form_->entries[a].tabOrder < form_->entries[b].tabOrder;
    });
    std::vector<HWND> order;
    for (std::size_t i : rows) order.push_back(controls_[i]);
    return order;
}

// Tab and Shift+Tab, taken before the focused control sees them, so an edit box
// never gets a tab character.
bool MainWindow::moveFocus(bool backwards) {
    HWND focus = GetFocus();
    if (!isOwnControl(focus)) return false;
    std::vector<HWND> order = tabOrder();
    if (order.empty()) return false;
    auto at = std::find_if(order.begin(), order.end(),
                           [focus](HWND c) { return c == focus || IsChild(c, focus); });
    std::size_t next;
    if (at == order.end()) {
        next = backwards ? order.size() - 1 : 0;
    } else {
        std::size_t current = static_cast<std::size_t>(at - order.begin());
        next = backwards ? (current + order.size() - 1) % order.size() : (current + 1) % order.size();
    }
    SetFocus(order[next]);
    return true;
}

// Enter clicks a default push button: the focused control if it is one, else the
// first in the table. The form has none, so Enter is left to the focused control.
bool MainWindow::clickDefaultButton() {
    HWND focus = GetFocus();
    if (!isOwnControl(focus)) return false;
    auto isDefaultButton = [](HWND c) {
        return c && (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
               IsWindowVisible(c) && IsWindowEnabled(c);
    };
    HWND target = nullptr;
    if (entryOf(focus) && entryOf(focus)->kind == FormKind::pushButton && isDefaultButton(focus))
        target = focus;
    for (std::size_t i = 0; !target && i < controls_.size(); ++i)
        if (form_->entries[i].kind == FormKind::pushButton && isDefaultButton(controls_[i]))
            target = controls_[i];
    if (!target) return false;
    SendMessageA(target, BM_CLICK, 0, 0);
    return true;
}

bool MainWindow::isOwnControl(HWND window) const {
    return window && hwnd_ && IsChild(hwnd_, window);
}

const FormEntry* MainWindow::entryOf(HWND control) const {
    if (!control) return nullptr;
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i] == control) return &form_->entries[i];
    return nullptr;
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
        windowLoaded(hwnd);
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        auto control = reinterpret_cast<HWND>(lParam);
        const FormEntry* entry = entryOf(control);
        if (entry && entry->kind == FormKind::edit)
            return onEditColor(reinterpret_cast<HDC>(wParam), control);
        break;
    }
    case WM_ERASEBKGND:
        onEraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) onDeactivate();
        break;
    case WM_HELP:
        return TRUE;  // F1 does nothing
    case WM_QUERYENDSESSION:
        return TRUE;
    case kDestroyRequestMessage:
        onDestroyRequest();
        return 0;
    case WM_NCDESTROY:
        onNcDestroy();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    // WM_CLOSE included: nothing refuses closing, so the default destroys the window.
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainWindow::onCommand(unsigned id, unsigned code, HWND control) {
    if (id >= kFirstReservedCommandId) return;
    if (id >= kFirstMenuCommandId) {
        onMenuCommand(id);
        return;
    }
    const FormEntry* entry = entryOf(control);
    if (entry && code == BN_CLICKED && entry->onClicked) entry->onClicked();
}

// Black on white for every edit box, the read-only ones included, so they do not
// look greyed.
LRESULT MainWindow::onEditColor(HDC dc, HWND) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

void MainWindow::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

// The window passes the focus on: back to the control that had it when the window
// was last deactivated, else to the first control of the Tab order.
void MainWindow::onSetFocus() {
    HWND target = focusWhenDeactivated_;
    if (!isOwnControl(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        std::vector<HWND> order = tabOrder();
        target = order.empty() ? nullptr : order.front();
    }
    if (target) SetFocus(target);
}

void MainWindow::onDeactivate() {
    HWND focus = GetFocus();
    if (isOwnControl(focus)) focusWhenDeactivated_ = focus;
}

void MainWindow::onDestroyRequest() {
    if (!destroyPending_) return;
    destroyPending_ = false;
    // No window of the program is ever disabled for this one, so none needs enabling.
    DestroyWindow(hwnd_);
}

void MainWindow::onNcDestroy() {
    HWND hwnd = hwnd_;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    controls_.clear();
    for (HFONT font : ownFonts_) DeleteObject(font);
    ownFonts_.clear();
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
    windowUnloaded(hwnd);
}

}  // namespace kelvaro
