// Small helpers shared by the benchmark programs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kelvaro::bench {

inline double nowSeconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// One line of the benchmark table: figure, measured, baseline, ratio, target.
inline void printRow(const char* figure, const char* measured, const char* baseline,
                     double ratio, double target) {
    std::printf("%-34s %14s %14s %8.3f %8s%.2f  %s\n", figure, measured, baseline, ratio, "<= ",
                target, ratio <= target ? "ok" : "MISSED");
}

}  // namespace kelvaro::bench
