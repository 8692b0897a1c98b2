// Kelvaro: personalises how Windows Explorer shows one folder. It takes no
// command-line arguments.
#include <windows.h>

#include "program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return kelvaro::runProgram(); }
