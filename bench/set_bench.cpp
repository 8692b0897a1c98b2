// Set with a 64 MiB background picture, through the core and the Windows file
// system, against a bare CopyFileA of the same two files, alternately.
//
//   set_bench.exe [runs]     (works in a folder "set-bench" in the current directory)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "personalization_procedures.h"
#include "windows_file_system.h"

namespace {

using kelvaro::bench::median;
using kelvaro::bench::nowSeconds;

// Notices are counted, not shown: a message box would measure the user.
class SilentNotices : public kelvaro::NoticeService {
public:
    void showNotice(const std::string&, kelvaro::NoticeKind kind, const std::string&) override {
        if (kind == kelvaro::NoticeKind::error) ++errors;
    }
    void openWebPage(const std::string&) override {}
    [[noreturn]] void reportFatalError(const std::string&) override { ExitProcess(3); }
    int errors = 0;
};

bool writeFileOfSize(const std::string& path, std::size_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<unsigned char> block(1 << 20);
    unsigned state = 12345;
    bool ok = true;
    for (std::size_t written = 0; ok && written < size; written += block.size()) {
        for (unsigned char& b : block) b = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);
        DWORD done = 0;
        const DWORD count = static_cast<DWORD>(std::min(block.size(), size - written));
        ok = WriteFile(file, block.data(), count, &done, nullptr) && done == count;
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    const std::string root = "set-bench";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\target").c_str(), nullptr);
    CreateDirectoryA((root + "\\plain").c_str(), nullptr);
    const std::string picture = root + "\\big.jpg";
    const std::string icon = root + "\\icon.ico";
    if (!writeFileOfSize(picture, 64u << 20) || !writeFileOfSize(icon, 4286)) {
        std::fprintf(stderr, "set_bench: cannot write the source files\n");
        return 1;
    }

    kelvaro::WindowsFileSystem fs;
    SilentNotices notices;
    const kelvaro::FolderPersonalization request{root + "\\target", icon, "Kelvaro", picture};
    std::vector<double> setTimes, copyTimes;
    for (int i = 0; i < runs + 1; ++i) {
        // Both start from a folder without the copies.
        kelvaro::clearPersonalization(request, fs, notices);
        DeleteFileA((root + "\\plain\\tavik.ico").c_str());
        DeleteFileA((root + "\\plain\\tavik.jpg").c_str());

        // Which goes first alternates, so neither always meets a warmer cache.
        double set = 0, copy = 0;
        bool copied = false;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = nowSeconds();
            if ((turn == 0) == (i % 2 == 0)) {
                kelvaro::applyPersonalization(request, fs, notices);
                set = nowSeconds() - start;
            } else {
                copied = CopyFileA(icon.c_str(), (root + "\\plain\\tavik.ico").c_str(), FALSE) &&
                         CopyFileA(picture.c_str(), (root + "\\plain\\tavik.jpg").c_str(), FALSE);
                copy = nowSeconds() - start;
            }
        }
        if (!copied || notices.errors) {
            std::fprintf(stderr, "set_bench: Set or the copy failed\n");
            return 1;
        }
        if (i == 0) continue;  // warm-up
        setTimes.push_back(set);
        copyTimes.push_back(copy);
    }
    kelvaro::clearPersonalization(request, fs, notices);

    char measured[32], baseline[32];
    std::snprintf(measured, sizeof measured, "%.1f ms", median(setTimes) * 1000);
    std::snprintf(baseline, sizeof baseline, "%.1f ms", median(copyTimes) * 1000);
    kelvaro::bench::printRow("Set with a 64 MiB picture (median)", measured, baseline,
                             median(setTimes) / median(copyTimes), 1.05);
    return 0;
}
