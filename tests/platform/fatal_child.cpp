// A program that ends with a fatal error, for the notice tests to watch: either
// through reportFatalError or by asking for more memory than there is, with new
// or with new (std::nothrow), which the program's allocation treats alike.
#include <windows.h>

#include <cstring>
#include <new>

#include "fatal_child.h"
#include "windows_notice_service.h"

namespace {

const char* cleanupMarker = nullptr;
HWND window = nullptr;
char* volatile kept = nullptr;

// Stands in for the program's release of OLE and its windows.
void cleanUp() {
    DestroyWindow(window);
    const HANDLE file = CreateFileA(cleanupMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kelvaro::testing;
    if (argc != 3) return 2;
    cleanupMarker = argv[2];
    kelvaro::setFatalCleanup(cleanUp);
    window = CreateWindowA("STATIC", kFatalChildWindowTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                           40, 300, 120, nullptr, nullptr, nullptr, nullptr);

    if (std::strcmp(argv[1], kReportMode) == 0) {
        kelvaro::WindowsNoticeService().reportFatalError(kFatalChildMessage);
    }
    if (std::strcmp(argv[1], kAllocateMode) == 0) {
        // Volatile, so the compiler can neither know the size nor drop the request.
        volatile std::size_t bytes = kImpossibleAllocation;
        kept = new char[bytes];
        return 3;
    }
    if (std::strcmp(argv[1], kAllocateNothrowMode) == 0) {
        volatile std::size_t bytes = kImpossibleAllocation;
        kept = new (std::nothrow) char[bytes];
        return 3;
    }
    return 2;
}
