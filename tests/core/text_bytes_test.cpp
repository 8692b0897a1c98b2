#include <gtest/gtest.h>

#include <string>

#include "ansi_text.h"

namespace kelvaro {
namespace {

TEST(TextBytes, SourceTextsBecomeGbkBytes) {
    EXPECT_EQ(std::string("设置"), std::string("\xC9\xE8\xD6\xC3"));
    EXPECT_EQ(std::string("消除"), std::string("\xCF\xFB\xB3\xFD"));
}

TEST(TextBytes, CaseIsIgnoredForAsciiLettersOnly) {
    struct Case { const char* a; const char* b; bool equal; };
    const Case cases[] = {
        {"C:\\Dir\\TAVIK.ICO", "c:\\dir\\tavik.ico", true},
        {"abc", "abcd", false},
        // 0x95 0x41 and 0x95 0x61 are two different GBK characters whose trail
        // bytes look like 'A' and 'a'.
        {"\x95\x41", "\x95\x61", false},
        {"\x95\x41Z", "\x95\x41z", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " vs " << c.b;
    }
}

TEST(TextBytes, FolderEndsAtTheLastRealBackslash) {
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\Tools\\kelvaro.exe", "C:\\Tools"},
        {"C:\\kelvaro.exe", "C:"},
        {"C:\\工具\\kelvaro.exe", "C:\\工具"},
        {"C:\\x\\乗.exe", "C:\\x"},          // 乗 ends in the byte 0x5C
        {"C:\\乗\\kelvaro.exe", "C:\\乗"},
        {"kelvaro.exe", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
}

}  // namespace
}  // namespace kelvaro
