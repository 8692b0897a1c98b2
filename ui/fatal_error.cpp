#include "fatal_error.h"

#include <windows.h>

#include "program.h"

namespace kelvaro {

void fatalStartupError(const std::string& message) {
    std::string text = "运行时出错!\r\n\r\n错误信息：" + message + "\r\n";
    MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
    releaseStartupResources();
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace kelvaro
