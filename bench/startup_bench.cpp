// Start-up time and peak working set of Kelvaro against the baseline window
// program, started alternately in the same Wine, the median of many runs each.
//
//   startup_bench.exe baseline_window.exe kelvaro.exe [runs] [--reference]
// With --reference the second program is a reference, not Kelvaro: one row,
// without a target.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

using kelvaro::bench::median;
using kelvaro::bench::nowSeconds;

struct Run {
    double seconds = 0;
    double peakWorkingSetKiB = 0;
    bool ok = false;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visibleWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program, waits until its window is shown and its thread idle, reads
// its peak working set, and closes it again.
Run startOnce(const std::string& program) {
    Run run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    const double start = nowSeconds();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return run;
    }
    WaitForInputIdle(process.hProcess, 30000);
    HWND window = nullptr;
    const double deadline = nowSeconds() + 30;
    while (!(window = visibleWindowOf(process.dwProcessId)) && nowSeconds() < deadline) Sleep(1);
    run.seconds = nowSeconds() - start;
    run.ok = window != nullptr;

    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
        run.peakWorkingSetKiB = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    }

    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench baseline.exe kelvaro.exe [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 11;
    std::vector<double> baseTimes, kelvaroTimes, baseMemory, kelvaroMemory;
    // One warm-up start each, then alternate so both see the same machine.
    startOnce(argv[1]);
    startOnce(argv[2]);
    for (int i = 0; i < runs; ++i) {
        const Run base = startOnce(argv[1]);
        const Run kelvaro = startOnce(argv[2]);
        if (!base.ok || !kelvaro.ok) {
            std::fprintf(stderr, "startup_bench: a window did not appear (run %d)\n", i);
            return 1;
        }
        baseTimes.push_back(base.seconds);
        kelvaroTimes.push_back(kelvaro.seconds);
        baseMemory.push_back(base.peakWorkingSetKiB);
        kelvaroMemory.push_back(kelvaro.peakWorkingSetKiB);
    }
    char measured[32], baseline[32];
    std::snprintf(measured, sizeof measured, "%.1f ms", median(kelvaroTimes) * 1000);
    std::snprintf(baseline, sizeof baseline, "%.1f ms", median(baseTimes) * 1000);
    if (argc > 4 && std::string(argv[4]) == "--reference") {
        std::printf("%-34s %14s %14s %8.3f %12s\n", "  reference: same form, plain", measured,
                    baseline, median(kelvaroTimes) / median(baseTimes), "-");
        return 0;
    }
    kelvaro::bench::printRow("start-up to idle window (median)", measured, baseline,
                             median(kelvaroTimes) / median(baseTimes), 1.10);
    std::snprintf(measured, sizeof measured, "%.0f KiB", median(kelvaroMemory));
    std::snprintf(baseline, sizeof baseline, "%.0f KiB", median(baseMemory));
    kelvaro::bench::printRow("peak working set (median)", measured, baseline,
                             median(kelvaroMemory) / median(baseMemory), 1.5);
    return 0;
}
