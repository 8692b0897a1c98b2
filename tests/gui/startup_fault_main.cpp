// A test build of the program that meets one of its start-up failures:
//   kelvaro_startup_fault.exe form     the window's form cannot be read
//   kelvaro_startup_fault.exe window   the main window cannot be created
// Otherwise it is the program itself.
#include <windows.h>

#include <cstring>

#include "program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (std::strstr(commandLine, "form"))
        kelvaro::injectStartupFault(kelvaro::StartupFault::unreadableForm);
    else if (std::strstr(commandLine, "window"))
        kelvaro::injectStartupFault(kelvaro::StartupFault::windowRefused);
    return kelvaro::runProgram();
}
