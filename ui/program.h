// The life of the process: start-up, the message loop and shut-down. Everything
// runs on the process's main thread, which is the GUI thread.
#pragma once

#include <windows.h>

#include <string>

#include "ansi_text.h"  // folderOf

namespace kelvaro {

// Prepares the environment, builds and shows the main window and runs the message
// loop until the window is gone; returns 0.
int startProgram();
// Creates the main window hidden, raises its created event and shows it; ends the
// program with a fatal error when the window cannot be created.
void loadStartWindow();
// Returns when the thread's queue yields WM_QUIT.
void runMessageLoop();
// The end-of-program routine: the program keeps nothing that needs releasing.
void onProgramEnd();

// startProgram followed by the shut-down; the process's exit code.
int runProgram();
// Releases what start-up acquired: the remaining windows and OLE.
void releaseStartupResources();

// The program's windows that exist. When the last one goes after the loop has
// started, the loop is asked to end.
void windowLoaded(HWND window);
void windowUnloaded(HWND window);


// Test seam, used only by a test build of the program: makes start-up meet one of
// its two failures, so the fatal notices can be checked. The program itself never
// calls it.
enum class StartupFault { none, unreadableForm, windowRefused };
void injectStartupFault(StartupFault fault);

}  // namespace kelvaro
