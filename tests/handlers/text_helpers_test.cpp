#include <gtest/gtest.h>

#include <string>

#include "filter_text.h"
#include "text_helpers.h"

namespace kelvaro {
namespace {

TEST(CompareText, OrdersBytesAsUnsignedValues) {
    struct Case { const char* a; const char* b; int expected; };
    const Case cases[] = {
        {"abc", "abc", 0},
        {"abc", "abd", -1},
        {"abd", "abc", 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        // 0xB0 is above 'z' as an unsigned byte, below it as a signed char.
        {"\xB0\xA1", "z", 1},
        {"z", "\xB0\xA1", -1},
        {"设置", "消除", -1},  // C9 E8 against CF FB
        {" ", "", 1},         // a blank is a byte like any other
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareText(c.a, c.b), c.expected) << '"' << c.a << "\" vs \"" << c.b << '"';
        EXPECT_EQ(compareText(std::string(c.a), std::string(c.b)), c.expected) << c.a;
    }
}

TEST(CompareText, MissingTextIsTheEmptyText) {
    const char* missing = nullptr;
    EXPECT_EQ(compareText(missing, "x"), -1);
    EXPECT_EQ(compareText(missing, ""), 0);
    EXPECT_EQ(compareText(missing, missing), 0);
    EXPECT_EQ(compareText("", missing), 0);
    EXPECT_EQ(compareText("x", missing), 1);
    EXPECT_EQ(compareText(std::string(), missing), 0);
}

TEST(ConcatTexts, JoinsPartsInOrderAndSkipsMissingOnes) {
    const char* missing = nullptr;
    const std::string folder = "D:\\图片";
    EXPECT_EQ(concatTexts({folder, "\\tavik.ico"}), "D:\\图片\\tavik.ico");
    EXPECT_EQ(concatTexts({"a", missing, "", "bc", missing}), "abc");
    EXPECT_EQ(concatTexts({missing}), "");
    EXPECT_EQ(concatTexts({""}), "");
    EXPECT_EQ(concatTexts({std::string(300, 'x'), "y"}).size(), 301u);
}

TEST(ConcatTexts, ResultIsANewText) {
    std::string part = "only";
    std::string joined = concatTexts({part});
    part[0] = 'O';
    EXPECT_EQ(joined, "only");
    EXPECT_NE(joined.data(), part.data());
}

// A literal with its zero bytes, without the terminator.
template <std::size_t N>
std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// The prepared list as the common dialogs read it, with its zero bytes shown.
std::string shown(const std::string& list) {
    std::string out;
    for (char c : list) out += c == '\0' ? std::string("<0>") : std::string(1, c);
    return out;
}

TEST(PrepareFilter, TurnsBarsIntoZeroBytesAndEndsTheList) {
    struct Case { std::string filter; std::string expected; };
    const Case cases[] = {
        {"图标文件（ico）|*.ico", bytes("图标文件（ico）\0*.ico\0\0")},
        {"图片文件（jpg）|*.jpg", bytes("图片文件（jpg）\0*.jpg\0\0")},
        {"A|*.a|B|*.b", bytes("A\0*.a\0B\0*.b\0\0")},
        // Already ended: nothing is added.
        {"A|*.a||", bytes("A\0*.a\0\0")},
        // Trailing blanks go before the end is looked at.
        {"A|*.a|| \t\r\n", bytes("A\0*.a\0\0")},
        {"A|*.a  ", bytes("A\0*.a\0\0")},
        {"A|*.a|", bytes("A\0*.a\0\0\0")},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(prepareFilter(c.filter)), shown(c.expected)) << c.filter;
    }
}

TEST(PrepareFilter, KeepsTrailBytesThatLookLikeBars) {
    // "東" is 96 7C in GBK: its trail byte is the code of '|'.
    ASSERT_EQ(std::string("東"), "\x96\x7C");
    EXPECT_EQ(shown(prepareFilter("東方图片|*.jpg")), shown(bytes("東方图片\0*.jpg\0\0")));
    // Just before the separator, and as the last character: the list is not
    // taken to end in two bars.
    EXPECT_EQ(shown(prepareFilter("图東|*.jpg")), shown(bytes("图東\0*.jpg\0\0")));
    EXPECT_EQ(shown(prepareFilter("A|*.東|")), shown(bytes("A\0*.東\0\0\0")));
    EXPECT_EQ(shown(prepareFilter("A|東")), shown(bytes("A\0東\0\0")));
}

}  // namespace
}  // namespace kelvaro
