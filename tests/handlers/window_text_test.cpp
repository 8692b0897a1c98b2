#include <gtest/gtest.h>

#include <string>

#include "dialog_driving.h"
#include "window_text.h"

namespace kelvaro {
namespace {

class WindowTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL | ES_READONLY,
                                83, 143, 183, 23, owner_.hwnd(), nullptr, nullptr, nullptr);
        SendMessageA(edit_, EM_LIMITTEXT, 0, 0);
    }
    testing::OwnerWindow owner_;
    HWND edit_ = nullptr;
};

TEST_F(WindowTextTest, ReadsBackWhatWasWrittenByteForByte) {
    EXPECT_EQ(readWindowText(edit_), "");
    const std::string texts[] = {
        "D:\\照片\\東京",  // a trail byte that is '|', and one that is '\'
        "  blanks stay  ",
        "C:\\",
        std::string(70000, 'k'),  // beyond the 32767 bytes an edit box takes by default
    };
    for (const std::string& text : texts) {
        writeWindowText(edit_, text);
        EXPECT_EQ(readWindowText(edit_), text) << text.substr(0, 40);
    }
}

TEST_F(WindowTextTest, AReadTextIsACopyAndAMissingTextEmptiesTheField) {
    writeWindowText(edit_, "first");
    const std::string before = readWindowText(edit_);
    writeWindowText(edit_, "second");
    EXPECT_EQ(before, "first");
    writeWindowText(edit_, nullptr);
    EXPECT_EQ(readWindowText(edit_), "");
}

}  // namespace
}  // namespace kelvaro
