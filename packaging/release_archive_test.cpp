// The released program, unpacked from its archive into a folder of its own, starts
// and ends like the one in the build, and says what it is on its Properties page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelvaro_session.h"

namespace kelvaro::driver {
namespace {

// A string of the program's version resource, as Explorer's Details tab reads it.
std::string versionString(const std::string& program, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    if (size == 0) return "<no version resource>";
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(program.c_str(), 0, size, data.data())) return "<unreadable>";
    struct Translation { WORD language, codePage; }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) || length < sizeof *translation) {
        return "<no translation>";
    }
    char key[128];
    wsprintfA(key, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage, name);
    char* value = nullptr;
    if (!VerQueryValueA(data.data(), key, reinterpret_cast<void**>(&value), &length)) return "<missing>";
    return value;
}

TEST(ReleaseArchive, UnpackedProgramStartsShowsItsWindowAndEnds) {
    const std::string program = kelvaroProgram();
    KelvaroSession kelvaro;
    ASSERT_TRUE(kelvaro.start(folderOf(program), program)) << program;
    EXPECT_EQ(windowText(kelvaro.window()), "Kelvaro文件夹个性设置");
    DWORD exitCode = 1;
    ASSERT_TRUE(kelvaro.close(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(ReleaseArchive, PropertiesPageNamesTheProductAndVersion) {
    const std::string program = kelvaroProgram();
    // The description is Chinese: read through the ANSI call it arrives as GBK.
    const struct { const char* name; std::string expected; } cases[] = {
        {"ProductName", "Kelvaro"},
        {"FileDescription", "Kelvaro文件夹个性设置"},
        {"ProductVersion", KELVARO_EXPECTED_VERSION},
        {"FileVersion", KELVARO_EXPECTED_VERSION},
        {"OriginalFilename", "kelvaro.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(versionString(program, c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace kelvaro::driver
