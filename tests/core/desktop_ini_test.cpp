#include <gtest/gtest.h>

#include <string>

#include "desktop_ini.h"

namespace kelvaro {
namespace {

const std::string kHeader = "[.ShellClassInfo]\r\n";
const std::string kIcon = "IconFile = tavik.ico\r\nIconIndex = 0\r\n";
const std::string kBackground = "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Image = tavik.jpg";
// "我的图片 01" in GBK: eleven bytes, double-byte characters among them.
const std::string kTip = "我的图片 01";

TEST(DesktopIni, EveryCombinationHasItsExactBytes) {
    ASSERT_EQ(kTip.size(), 11u);
    const std::string tipLine = "InfoTip=" + kTip + "\r\n";
    struct Case { bool icon, tip, background; std::string bytes; std::size_t length; };
    const std::size_t n = kTip.size();
    const Case cases[] = {
        {false, false, false, kHeader, 19},
        {true, false, false, kHeader + kIcon, 56},
        {false, true, false, kHeader + tipLine, 29 + n},
        {false, false, true, kHeader + kBackground, 87},
        {true, true, false, kHeader + kIcon + tipLine, 66 + n},
        {true, false, true, kHeader + kIcon + kBackground, 124},
        {false, true, true, kHeader + tipLine + kBackground, 97 + n},
        {true, true, true, kHeader + kIcon + tipLine + kBackground, 134 + n},
    };
    for (const Case& c : cases) {
        FolderPersonalization request;
        request.folder = "C:\\some folder";
        if (c.icon) request.iconSource = "D:\\icons\\a.ico";
        if (c.tip) request.infoTip = kTip;
        if (c.background) request.backgroundSource = "D:\\pictures\\b.jpg";
        const std::string text = composeDesktopIni(request);
        SCOPED_TRACE(::testing::Message() << c.icon << c.tip << c.background);
        EXPECT_EQ(text, c.bytes);
        EXPECT_EQ(text.size(), c.length);
    }
}

TEST(DesktopIni, TipBytesGoInUnchangedExceptLineBreaks) {
    struct Case { std::string tip; std::string written; };
    const Case cases[] = {
        {"   ", "   "},
        {"a=b [x] ;c \"q\"", "a=b [x] ;c \"q\""},
        {"\xB0\xA1\x95\x5C", "\xB0\xA1\x95\x5C"},  // a GBK trail byte 0x5C is not a backslash to us
        // A line break in the tip would start a line of its own in the file.
        {"one\r\n[.ShellClassInfo]\nIconFile=evil.ico\r", "one  [.ShellClassInfo] IconFile=evil.ico "},
    };
    for (const Case& c : cases) {
        FolderPersonalization request{"C:\\f", "", c.tip, ""};
        EXPECT_EQ(composeDesktopIni(request), kHeader + "InfoTip=" + c.written + "\r\n");
    }
}

TEST(DesktopIni, DependsOnlyOnWhichFieldsArePresent) {
    const FolderPersonalization a{"C:\\one", "C:\\x.ico", "tip", "C:\\y.jpg"};
    const FolderPersonalization b{"E:\\other\\", "\\\\server\\missing.ico", "tip", "nothing"};
    EXPECT_EQ(composeDesktopIni(a), composeDesktopIni(b));
}

}  // namespace
}  // namespace kelvaro
