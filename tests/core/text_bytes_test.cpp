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

}  // namespace
}  // namespace kelvaro
