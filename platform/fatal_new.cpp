// The program's allocation: memory that cannot be had is a fatal error, reported
// with the number of bytes asked for, never an exception.
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "windows_notice_service.h"

namespace {

constexpr const char* kAllocationFailedBefore = "分配 ";
constexpr const char* kAllocationFailedAfter = " 字节内存失败!";

[[noreturn]] void reportAllocationFailure(std::size_t bytes) {
    // Built without the heap, which has just failed us.
    char digits[24];
    char* first = digits + sizeof(digits);
    *--first = '\0';
    do {
        *--first = static_cast<char>('0' + bytes % 10);
        bytes /= 10;
    } while (bytes != 0);

    char message[64];
    std::strcpy(message, kAllocationFailedBefore);
    std::strcat(message, first);
    std::strcat(message, kAllocationFailedAfter);
    kelvaro::endWithFatalError(message);
}

void* allocate(std::size_t bytes) {
    // malloc(0) may give no pointer; new must give a distinct one.
    void* memory = std::malloc(bytes != 0 ? bytes : 1);
    if (memory == nullptr) reportAllocationFailure(bytes);
    return memory;
}

void* allocateAligned(std::size_t bytes, std::align_val_t alignment) {
    void* memory = _aligned_malloc(bytes != 0 ? bytes : 1, static_cast<std::size_t>(alignment));
    if (memory == nullptr) reportAllocationFailure(bytes);
    return memory;
}

}  // namespace

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return allocateAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
    return allocateAligned(bytes, alignment);
}
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment,
                     const std::nothrow_t&) noexcept {
    return allocateAligned(bytes, alignment);
}

void operator delete(void* memory, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(memory);
}
