// The program's only window: its form, controls, fields and file dialogs.
#pragma once

#include <windows.h>

#include <vector>

#include "file_picker.h"

namespace kelvaro {

// The four fields the handlers read and write.
enum class Field { folder, icon, tip, background };

struct MainForm;
struct FormEntry;

// Posted by requestDestroy; the window destroys itself when it arrives.
inline constexpr UINT kDestroyRequestMessage = 32869;

class MainWindow {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hwnd() const;
    // The edit box of a field.
    HWND field(Field which) const;
    FilePicker& iconDialog();
    FilePicker& imageDialog();
    // Asks for the window's destruction once the current message is handled.
    void requestDestroy();

    // Builds the window and all its controls from the form, still hidden, and
    // configures the file dialogs. False when Windows refuses a window; nothing
    // of it is left then.
    bool create(const MainForm& form);
    void show();

    // The message loop's look at every message before it is translated and
    // dispatched: raises the controls' mouse events and moves the focus on Tab.
    // True when the message is used up.
    bool preTranslate(const MSG& msg);

    // The control of a form entry, found by its identifier ("tipEdit"); null for
    // entries without a window.
    HWND control(const char* identifier) const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool createControls();
    HWND createControl(const FormEntry& entry);
    void configurePicker(const FormEntry& entry);
    void setIcons();

    void onCommand(unsigned id, unsigned code, HWND control);
    LRESULT onEditColor(HDC dc, HWND control);
    void onEraseBackground(HDC dc);
    void onSetFocus();
    void onDeactivate();
    void onDestroyRequest();
    void onNcDestroy();

    bool isOwnControl(HWND window) const;
    const FormEntry* entryOf(HWND control) const;
    // The focusable controls in Tab order, as they stand now.
    std::vector<HWND> tabOrder() const;
    bool moveFocus(bool backwards);
    bool clickDefaultButton();
    void raiseLeftButtonDown(const MSG& msg);

    const MainForm* form_ = nullptr;
    HWND hwnd_ = nullptr;
    std::vector<HWND> controls_;  // one per form entry, null for entries without a window
    HFONT font_ = nullptr;
    std::vector<HFONT> ownFonts_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND focusWhenDeactivated_ = nullptr;
    bool destroyPending_ = false;
    FilePicker iconDialog_;
    FilePicker imageDialog_;
};

// The running program's main window; null before it is created and after it is gone.
MainWindow* mainWindow();

}  // namespace kelvaro
