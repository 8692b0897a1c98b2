// What the notice tests and the program they start to fail agree on.
#pragma once

#include <cstddef>

namespace kelvaro::testing {

inline constexpr const char* kFatalChildProgram = "platform_fatal_child.exe";
// platform_fatal_child.exe <mode> <file the fatal cleanup creates>
inline constexpr const char* kReportMode = "report";
inline constexpr const char* kAllocateMode = "allocate";
inline constexpr const char* kAllocateNothrowMode = "allocate-nothrow";

// A window of the failing program, open while the fatal notice is shown.
inline constexpr const char* kFatalChildWindowTitle = "Kelvaro 出错的程序";
inline constexpr const char* kFatalChildMessage = "无法创建主窗口 (Kelvaro)";
// More than a 32-bit process can ever be given.
inline constexpr std::size_t kImpossibleAllocation = 0x7FFFFFF0;
inline constexpr const char* kImpossibleAllocationMessage = "分配 2147483632 字节内存失败!";

}  // namespace kelvaro::testing
