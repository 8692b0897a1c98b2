#include <gtest/gtest.h>

#include <string>

#include "desktop_ini.h"
#include "desktop_ini_merge.h"

namespace kelvaro {
namespace {

using Cleaning = ExistingDesktopIni::Cleaning;

// Little-endian UTF-16 with its byte-order mark, as Windows writes desktop.ini
// files of its own.
std::string utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string utf16(const std::string& ascii) { return utf16(std::u16string(ascii.begin(), ascii.end())); }

FolderPersonalization request(bool icon, const std::string& tip, bool background) {
    return {"C:\\f", icon ? "D:\\a.ico" : "", tip, background ? "D:\\b.jpg" : ""};
}

const std::string kView = "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n";
const std::string kOurPicture = "IconArea_Image = tavik.jpg\r\n";
const std::string kOurIcon = "IconFile = tavik.ico\r\nIconIndex = 0\r\n";

// What a special folder such as Documents carries on a Chinese Windows.
const std::string kNameLine = "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n";
const std::string kSystemIconLines =
    "IconResource=%SystemRoot%\\system32\\imageres.dll,-112\r\n"
    "IconFile=%SystemRoot%\\system32\\shell32.dll\r\n"
    "IconIndex=-235\r\n";
const std::string kSystemTip = "InfoTip=@%SystemRoot%\\system32\\shell32.dll,-12688\r\n";
const std::string kSpecialFolder = "\r\n[.ShellClassInfo]\r\n" + kNameLine + kSystemIconLines + kSystemTip;

// Another program's view settings, with comments and a GBK value.
const std::string kViewer =
    "; written by a picture viewer\r\n"
    "[.ShellClassInfo]\r\n"
    "IconResource=C:\\Icons\\folder.ico,0\r\n"
    ";IconResource=C:\\Icons\\old.ico,0\r\n"
    "ConfirmFileOp=0\r\n"
    "\r\n"
    "[ViewState]\r\n"
    "; how the folder was last shown\r\n"
    "Mode=\r\n"
    "Vid=\r\n"
    "FolderType=Pictures\r\n"
    "说明=我的相册\r\n"
    "\r\n"
    "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
    "IconArea_Text=0x00FFFFFF\r\n";
const std::string kViewerTail =
    "[ViewState]\r\n"
    "; how the folder was last shown\r\n"
    "Mode=\r\n"
    "Vid=\r\n"
    "FolderType=Pictures\r\n"
    "说明=我的相册\r\n"
    "\r\n";

enum class Op { set, clear };
enum class Result { written, refused, keep, remove };

struct Row {
    const char* what;
    std::string old;
    Op op;
    FolderPersonalization request;  // for Set
    Result result;
    std::string bytes;  // the file Set writes, or what Clear writes back
};

void check(const Row& row) {
    SCOPED_TRACE(row.what);
    const ExistingDesktopIni existing(row.old);
    std::string bytes = "untouched";
    if (row.op == Op::set) {
        const bool merged = existing.merge(row.request, bytes);
        ASSERT_EQ(merged, row.result == Result::written);
        EXPECT_EQ(bytes, merged ? row.bytes : "untouched");
        return;
    }
    const Cleaning cleaning = existing.clean(bytes);
    switch (row.result) {
    case Result::written:
        ASSERT_EQ(cleaning, Cleaning::rewrite);
        EXPECT_EQ(bytes, row.bytes);
        break;
    case Result::refused: EXPECT_EQ(cleaning, Cleaning::refused); break;
    case Result::keep: EXPECT_EQ(cleaning, Cleaning::keep); break;
    case Result::remove: EXPECT_EQ(cleaning, Cleaning::remove); break;
    }
}

TEST(DesktopIniMerge, ForeignSettingsSurviveSetAndClear) {
    const FolderPersonalization everything = request(true, "Kelvaro", true);
    const FolderPersonalization tipOnly = request(false, "提示", false);
    const FolderPersonalization nothing = request(false, "", false);
    const std::string specialSet =
        "\r\n[.ShellClassInfo]\r\n" + kOurIcon + "InfoTip=Kelvaro\r\n" + kNameLine + kView + kOurPicture;
    const std::string specialTip =
        "\r\n[.ShellClassInfo]\r\nInfoTip=提示\r\n" + kNameLine + kSystemIconLines;
    const std::string specialCleared = "\r\n[.ShellClassInfo]\r\n" + kNameLine + kSystemIconLines;
    const std::string utf16Special = utf16(kSpecialFolder);

    const Row rows[] = {
        // Windows reads IconResource before IconFile: it goes with the new icon.
        {"special folder, everything", kSpecialFolder, Op::set, everything, Result::written, specialSet},
        {"special folder, tip only", kSpecialFolder, Op::set, tipOnly, Result::written, specialTip},
        {"special folder, header only", kSpecialFolder, Op::set, nothing, Result::written, kSpecialFolder},
        {"special folder, Clear", kSpecialFolder, Op::clear, {}, Result::written, specialCleared},
        {"UTF-16 special folder, everything", utf16Special, Op::set, everything, Result::written, specialSet},
        {"UTF-16 special folder, tip only", utf16Special, Op::set, tipOnly, Result::written, specialTip},
        {"UTF-16 special folder, Clear", utf16Special, Op::clear, {}, Result::written, specialCleared},
        {"UTF-16 special folder after Set, Clear", utf16(specialSet), Op::clear, {}, Result::written,
         "\r\n[.ShellClassInfo]\r\n" + kNameLine},

        // Comments stay, also one that looks like a key; the view section moves
        // behind Kelvaro's and keeps its other lines.
        {"viewer, icon", kViewer, Op::set, request(true, "", false), Result::written,
         "; written by a picture viewer\r\n[.ShellClassInfo]\r\n" + kOurIcon +
             ";IconResource=C:\\Icons\\old.ico,0\r\nConfirmFileOp=0\r\n\r\n" + kView +
             "IconArea_Text=0x00FFFFFF\r\n" + kViewerTail},
        {"viewer, background", kViewer, Op::set, request(false, "", true), Result::written,
         "; written by a picture viewer\r\n[.ShellClassInfo]\r\nIconResource=C:\\Icons\\folder.ico,0\r\n"
         ";IconResource=C:\\Icons\\old.ico,0\r\nConfirmFileOp=0\r\n\r\n" +
             kView + kOurPicture + "IconArea_Text=0x00FFFFFF\r\n" + kViewerTail},
        {"viewer, Clear finds nothing of ours", kViewer, Op::clear, {}, Result::keep, ""},

        // Letter case of names and keys does not matter; quotes around a value do not either.
        {"case, tip only",
         "[.SHELLCLASSINFO]\r\niconfile = TAVIK.ICO\r\niconindex=0\r\nlocalizedresourcename=@x.dll,-1\r\n"
         "[{be098140-a513-11d0-a3a4-00c04fd706ec}]\r\niconarea_image=\"Tavik.JPG\"\r\nIconArea_Text=0x00FFFFFF\r\n",
         Op::set, request(false, "t", false), Result::written,
         "[.ShellClassInfo]\r\nInfoTip=t\r\nlocalizedresourcename=@x.dll,-1\r\n" + kView +
             "IconArea_Text=0x00FFFFFF\r\n"},
        {"case, icon",
         "[.shellclassinfo]\r\nICONFILE=C:\\x.ico\r\nIconINDEX=3\r\nICONRESOURCE=C:\\y.ico,1\r\nName=n\r\n",
         Op::set, request(true, "", false), Result::written,
         "[.ShellClassInfo]\r\n" + kOurIcon + "Name=n\r\n"},
        {"case, Clear",
         "[.SHELLCLASSINFO]\r\niconfile = TAVIK.ICO\r\niconindex=0\r\nINFOTIP=old\r\nlocalizedresourcename=@x.dll,-1\r\n"
         "[{be098140-a513-11d0-a3a4-00c04fd706ec}]\r\niconarea_image=\"Tavik.JPG\"\r\nIconArea_Text=0x00FFFFFF\r\n",
         Op::clear, {}, Result::written,
         "[.SHELLCLASSINFO]\r\nlocalizedresourcename=@x.dll,-1\r\n"
         "[{be098140-a513-11d0-a3a4-00c04fd706ec}]\r\nIconArea_Text=0x00FFFFFF\r\n"},

        // Lines naming tavik.ico or tavik.jpg go when this request does not write
        // them; an IconIndex stays when another icon file may own it.
        {"earlier icon and picture, tip only now",
         "[.ShellClassInfo]\r\n" + kOurIcon + "LocalizedResourceName=@x,-1\r\n" + kView + kOurPicture,
         Op::set, request(false, "t", false), Result::written,
         "[.ShellClassInfo]\r\nInfoTip=t\r\nLocalizedResourceName=@x,-1\r\n"},
        {"two icon files, Clear",
         "[.ShellClassInfo]\r\nIconFile=tavik.ico\r\nIconFile=C:\\x.ico\r\nIconIndex=2\r\n",
         Op::clear, {}, Result::written, "[.ShellClassInfo]\r\nIconFile=C:\\x.ico\r\nIconIndex=2\r\n"},

        // Line ends: the last line gets one; LF alone becomes CR LF.
        {"no final line end, Set", "[.ShellClassInfo]\r\nLocalizedResourceName=@x,-1\r\n[ViewState]\r\nMode=4",
         Op::set, everything, Result::written,
         "[.ShellClassInfo]\r\n" + kOurIcon + "InfoTip=Kelvaro\r\nLocalizedResourceName=@x,-1\r\n" + kView +
             kOurPicture + "[ViewState]\r\nMode=4\r\n"},
        {"no final line end, Clear", "[ViewState]\r\nMode=4\r\n[.ShellClassInfo]\r\nInfoTip=x", Op::clear, {},
         Result::written, "[ViewState]\r\nMode=4\r\n"},
        {"LF line ends, Clear", "[.ShellClassInfo]\nLocalizedResourceName=@x,-1\nInfoTip=t\n", Op::clear, {},
         Result::written, "[.ShellClassInfo]\r\nLocalizedResourceName=@x,-1\r\n"},

        // Nothing but Kelvaro's pieces left: exactly composeDesktopIni's bytes.
        {"only an old IconResource", "\r\n[.ShellClassInfo]\r\nIconResource=C:\\a.ico,0\r\n\r\n", Op::set,
         everything, Result::written, composeDesktopIni(everything)},
        {"only Kelvaro's keys, written otherwise", "[.ShellClassInfo]\r\nIconFile=tavik.ico\r\nIconIndex=0\r\n",
         Op::clear, {}, Result::remove, ""},

        // Two sections of one name: Kelvaro's section takes the lines of both.
        {"repeated section, Set",
         "[.ShellClassInfo]\r\nA=1\r\n[ViewState]\r\nMode=\r\n[.shellclassinfo]\r\nInfoTip=old\r\nB=2\r\n",
         Op::set, request(false, "t", false), Result::written,
         "[.ShellClassInfo]\r\nInfoTip=t\r\nA=1\r\nB=2\r\n[ViewState]\r\nMode=\r\n"},
        {"repeated section, Clear",
         "[.ShellClassInfo]\r\nA=1\r\n[ViewState]\r\nMode=\r\n[.shellclassinfo]\r\nInfoTip=old\r\nB=2\r\n",
         Op::clear, {}, Result::written,
         "[.ShellClassInfo]\r\nA=1\r\n[ViewState]\r\nMode=\r\n[.shellclassinfo]\r\nB=2\r\n"},

        // UTF-16 text outside ASCII is never converted: it may be dropped, never kept.
        {"UTF-16 foreign non-ASCII value, Set", utf16(u"[.ShellClassInfo]\r\nLocalizedResourceName=我的文档\r\nInfoTip=x\r\n"),
         Op::set, everything, Result::refused, ""},
        {"UTF-16 foreign non-ASCII value, Clear", utf16(u"[.ShellClassInfo]\r\nLocalizedResourceName=我的文档\r\nInfoTip=x\r\n"),
         Op::clear, {}, Result::refused, ""},
        {"UTF-16 non-ASCII tip replaced", utf16(u"[.ShellClassInfo]\r\nInfoTip=旧的\r\nName=n\r\n"), Op::set,
         tipOnly, Result::written, "[.ShellClassInfo]\r\nInfoTip=提示\r\nName=n\r\n"},
        {"UTF-16 non-ASCII tip kept", utf16(u"[.ShellClassInfo]\r\nInfoTip=旧的\r\nName=n\r\n"), Op::set,
         request(true, "", false), Result::refused, ""},
        {"UTF-16 non-ASCII tip, Clear", utf16(u"[.ShellClassInfo]\r\nInfoTip=旧的\r\nName=n\r\n"), Op::clear, {},
         Result::written, "[.ShellClassInfo]\r\nName=n\r\n"},
        {"UTF-16 own file with a non-ASCII tip", utf16(u"[.ShellClassInfo]\r\nInfoTip=旧的\r\n"), Op::set, nothing,
         Result::written, "[.ShellClassInfo]\r\n"},
    };
    for (const Row& row : rows) check(row);
}

TEST(DesktopIniMerge, FilesThatCannotBeReadSafelyAreRefused) {
    const std::string plain = "[.ShellClassInfo]\r\nInfoTip=x\r\nName=n\r\n";
    const std::string wide = utf16(plain);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + plain},
        {"UTF-16BE byte-order mark", "\xFE\xFF" + std::string("\0[", 2)},
        {"UTF-16 of odd length", wide + "x"},
        {"UTF-16 zero character", wide + std::string("\0\0", 2) + utf16("A=1").substr(2)},
        {"ANSI zero byte", plain + std::string("Z=\0", 3)},
        {"CR without LF", "[.ShellClassInfo]\rInfoTip=x\r\nName=n\r\n"},
        {"CR at the very end", plain + "\r"},
        {"section without ']'", "[.ShellClassInfo\r\nInfoTip=x\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ExistingDesktopIni existing(c.bytes);
        EXPECT_FALSE(existing.readable());
        std::string bytes = "untouched";
        EXPECT_FALSE(existing.merge(request(true, "t", true), bytes));
        EXPECT_EQ(existing.clean(bytes), Cleaning::refused);
        EXPECT_EQ(bytes, "untouched");
    }
}

// Whatever Kelvaro wrote before, in any combination, is its own: Set writes
// exactly the new composition and Clear removes the file.
TEST(DesktopIniMerge, KelvarosOwnEarlierFileIsReplacedWhole) {
    for (int old = 0; old < 8; ++old) {
        const FolderPersonalization before = request(old & 1, (old & 2) ? "旧的 = [提示]" : "", old & 4);
        const std::string written = composeDesktopIni(before);
        // The same file with LF line ends, blank lines, or as UTF-16LE.
        std::string spaced = "\r\n";
        for (char c : written) spaced += c == '\n' ? std::string("\n \r\n") : std::string(1, c);
        std::string lfOnly;
        for (char c : written) {
            if (c != '\r') lfOnly += c;
        }
        const std::string wide =
            utf16(composeDesktopIni(request(old & 1, (old & 2) ? "old tip" : "", old & 4)));
        const std::string variants[] = {written, spaced, lfOnly, wide};
        for (const std::string& bytes : variants) {
            SCOPED_TRACE(::testing::Message() << "old combination " << old << ": " << bytes);
            const ExistingDesktopIni existing(bytes);
            EXPECT_TRUE(existing.isOwn());
            std::string cleaned;
            EXPECT_EQ(existing.clean(cleaned), Cleaning::remove);
            for (int now = 0; now < 8; ++now) {
                const FolderPersonalization after = request(now & 1, (now & 2) ? "新" : "", now & 4);
                std::string merged;
                ASSERT_TRUE(existing.merge(after, merged));
                EXPECT_EQ(merged, composeDesktopIni(after)) << "new combination " << now;
            }
        }
    }
    EXPECT_TRUE(ExistingDesktopIni("").isOwn());
    EXPECT_TRUE(ExistingDesktopIni("\r\n\r\n").isOwn());
    // Close, but not what composeDesktopIni writes: another's file, merged.
    for (const char* near : {"[.ShellClassInfo]\r\nIconFile=tavik.ico\r\nIconIndex=0\r\n",
                             "[.ShellClassInfo]\r\nIconIndex = 0\r\nIconFile = tavik.ico\r\n",
                             "[.ShellClassInfo]\r\nInfoTip=\r\n",
                             "[.ShellClassInfo]\r\nInfoTip=a\r\nInfoTip=b\r\n",
                             "Name=n\r\n[.ShellClassInfo]\r\n",
                             "[.ShellClassInfo]\r\nIconArea_Image = tavik.jpg\r\n"}) {
        EXPECT_FALSE(ExistingDesktopIni(near).isOwn()) << near;
    }
}

TEST(DesktopIniMerge, RestoreBytesPutBackWhatWasThere) {
    EXPECT_EQ(ExistingDesktopIni(kViewer).restoreBytes(), kViewer);
    EXPECT_EQ(ExistingDesktopIni("[ViewState]\nMode=4").restoreBytes(), "[ViewState]\nMode=4");
    EXPECT_EQ(ExistingDesktopIni(utf16(kSpecialFolder)).restoreBytes(), kSpecialFolder);
    EXPECT_EQ(ExistingDesktopIni(utf16("[ViewState]\nMode=4")).restoreBytes(), "[ViewState]\r\nMode=4");
    // A tip that only UTF-16 can hold cannot be put back; all else is.
    EXPECT_EQ(ExistingDesktopIni(utf16(u"[.ShellClassInfo]\r\nInfoTip=旧的\r\nName=n\r\n")).restoreBytes(),
              "[.ShellClassInfo]\r\nName=n\r\n");
}

}  // namespace
}  // namespace kelvaro
