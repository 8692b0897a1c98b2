#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop_ini.h"
#include "fake_file_system.h"
#include "personalization_procedures.h"
#include "recording_notice_service.h"

namespace kelvaro {
namespace {

using fakes::FakeFileSystem;
using Notices = fakes::RecordingNoticeService;
using Calls = std::vector<std::string>;

// "我的文件夹": the folder name is GBK, as a Chinese user's would be.
const std::string F = "C:\\Work\\我的文件夹";
const std::string kIcon = "D:\\Icons\\Star.ico";
const std::string kPicture = "D:\\Pictures\\Sea.jpg";
const std::string kOther = "C:\\Work\\我的文件夹\\notes.txt";

// A desktop.ini that Kelvaro did not write: a special folder's translated name
// and another program's view settings.
const std::string kForeignIni =
    "[.ShellClassInfo]\r\n"
    "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
    "ConfirmFileOp=0\r\n"
    "[ViewState]\r\n"
    "Mode=\r\n"
    "Vid=\r\n"
    "FolderType=Pictures\r\n";
const std::vector<std::string> kForeignLines = {
    "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770",
    "ConfirmFileOp=0",
    "[ViewState]",
    "Mode=",
    "Vid=",
    "FolderType=Pictures",
};

// ASCII text as UTF-16LE with its byte-order mark.
std::string utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// The lines of a desktop.ini, read back as ANSI whatever its encoding.
std::vector<std::string> linesOf(const std::string& content) {
    std::string text = content;
    if (text.compare(0, 2, "\xFF\xFE") == 0) {
        text.clear();
        for (std::size_t i = 2; i + 1 < content.size(); i += 2) text += content[i];
    }
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// True when every one of wanted is a line of content, in this order.
bool holdsInOrder(const std::string& content, const std::vector<std::string>& wanted) {
    const std::vector<std::string> lines = linesOf(content);
    std::size_t next = 0;
    for (const std::string& line : lines) {
        if (next < wanted.size() && line == wanted[next]) ++next;
    }
    return next == wanted.size();
}

class Procedures : public ::testing::Test {
protected:
    void SetUp() override {
        fs.addDirectory("C:");
        fs.addDirectory("C:\\Work");
        fs.addDirectory(F);
        fs.addDirectory("D:");
        fs.addDirectory("D:\\Icons");
        fs.addDirectory("D:\\Pictures");
        fs.addFile(kIcon, "ICON-1");
        fs.addFile(kPicture, "JPEG-1");
        fs.addFile(kOther, "keep me");
    }

    FolderPersonalization everything() const { return {F, kIcon, "Kelvaro", kPicture}; }

    void set(const FolderPersonalization& request) { applyPersonalization(request, fs, notices); }
    void clear(const std::string& folder) { clearPersonalization({folder, "", "", ""}, fs, notices); }

    // A folder as an earlier Set left it.
    void setEarlier() {
        set(everything());
        ASSERT_EQ(notices.events.back(), Notices::information(kSetDoneText, kInformationTitle));
        fs.clearCalls();
        notices.events.clear();
    }

    std::vector<Notices::Event> setDone() const {
        return {Notices::information(kSetDoneText, kInformationTitle)};
    }
    std::vector<Notices::Event> error(const std::string& text) const {
        return {Notices::error(text, kErrorTitle)};
    }

    FakeFileSystem fs;
    Notices notices;
};

TEST_F(Procedures, MissingFolderOnlyTellsTheUserAndOpensTheUpdatePage) {
    const std::vector<Notices::Event> expected = {
        Notices::error(kMissingInfoText, kErrorTitle), Notices::page(kUpdatePagePath)};
    set({"", kIcon, "tip", kPicture});
    EXPECT_EQ(notices.events, expected);
    notices.events.clear();
    clearPersonalization({"", kIcon, "tip", kPicture}, fs, notices);
    EXPECT_EQ(notices.events, expected);
    EXPECT_TRUE(fs.calls().empty());
    EXPECT_TRUE(fs.shellNotifications().empty());
}

TEST_F(Procedures, SetPlacesFilesWritesDesktopIniAndSetsAttributesInOrder) {
    set(everything());
    const Calls expected = {
        "getAttributes(" + F + ")",
        "getAttributes(" + F + "\\Desktop.ini)",
        "getAttributes(" + F + "\\tavik.ico)",
        "copyFile(" + kIcon + "," + F + "\\tavik.ico)",
        "getAttributes(" + F + "\\tavik.jpg)",
        "copyFile(" + kPicture + "," + F + "\\tavik.jpg)",
        "openForRewrite(" + F + "\\desktop.ini)",
        "writeText(1,141)",
        "closeFile(1)",
        "setAttributes(" + F + ",36)",
        "setAttributes(" + F + "\\desktop.ini,38)",
        "setAttributes(" + F + "\\tavik.ico,38)",
        "setAttributes(" + F + "\\tavik.jpg,38)",
    };
    EXPECT_EQ(fs.calls(), expected);
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), composeDesktopIni(everything()));
    EXPECT_EQ(fs.contentOf(F + "\\tavik.ico"), "ICON-1");
    EXPECT_EQ(fs.contentOf(F + "\\tavik.jpg"), "JPEG-1");
    EXPECT_EQ(fs.attributesOf(F), 16u | 36u);
    for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
        EXPECT_EQ(fs.attributesOf(F + name), 38u) << name;
    }
    EXPECT_EQ(fs.shellNotifications(), Calls{F});
}

TEST_F(Procedures, SetWithFolderAndDefaultTipOnly) {
    set({F, "", "Kelvaro", ""});
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), "[.ShellClassInfo]\r\nInfoTip=Kelvaro\r\n");
    EXPECT_FALSE(fs.exists(F + "\\tavik.ico"));
    EXPECT_EQ(notices.events, setDone());  // the absent tavik.ico and tavik.jpg are no failure

    set({F, "", "", ""});
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), "[.ShellClassInfo]\r\n");
}

TEST_F(Procedures, SecondSetReplacesHiddenFilesAndDesktopIni) {
    setEarlier();
    fs.addFile(kIcon, "ICON-2");
    fs.addFile(kPicture, "JPEG-2");
    set({F, kIcon, "新的提示", kPicture});
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.contentOf(F + "\\tavik.ico"), "ICON-2");
    EXPECT_EQ(fs.contentOf(F + "\\tavik.jpg"), "JPEG-2");
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), composeDesktopIni({F, kIcon, "新的提示", kPicture}));
    const Calls expectedStart = {
        "getAttributes(" + F + ")",
        "getAttributes(" + F + "\\Desktop.ini)",
        "readFile(" + F + "\\Desktop.ini)",
        "getAttributes(" + F + "\\tavik.ico)",
        "setAttributes(" + F + "\\tavik.ico,32)",
        "copyFile(" + kIcon + "," + F + "\\tavik.ico)",
        "getAttributes(" + F + "\\tavik.jpg)",
        "setAttributes(" + F + "\\tavik.jpg,32)",
        "copyFile(" + kPicture + "," + F + "\\tavik.jpg)",
        "getAttributes(" + F + "\\Desktop.ini)",
        "setAttributes(" + F + "\\Desktop.ini,32)",
        "deleteFile(" + F + "\\Desktop.ini)",
        "openForRewrite(" + F + "\\desktop.ini)",
    };
    EXPECT_EQ(Calls(fs.calls().begin(), fs.calls().begin() + expectedStart.size()), expectedStart);
}

TEST_F(Procedures, ReadOnlyDesktopIniOfAnyCaseIsReplaced) {
    fs.addFile(F + "\\DESKTOP.INI", "[.ShellClassInfo]\r\nIconFile = tavik.ico\r\n", 1 | 2 | 4);
    set({F, "", "x", ""});
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), "[.ShellClassInfo]\r\nInfoTip=x\r\n");
    EXPECT_EQ(fs.attributesOf(F + "\\desktop.ini"), 38u);
}

TEST_F(Procedures, FolderKeepsHiddenAndReadOnlyAndGainsSystem) {
    fs.addDirectory(F, 1 | 2);
    set({F, "", "", ""});
    EXPECT_EQ(fs.attributesOf(F), 16u | 1u | 2u | 36u);
}

TEST_F(Procedures, SetStopsAtTheFirstFailureWithItsNotice) {
    struct Case {
        const char* what;
        FolderPersonalization request;
        std::string notice;
        bool iniWritten;
    };
    fs.addFile(F + "\\desktop.ini", "[.ShellClassInfo]\r\nInfoTip=old\r\n", 38);
    fs.addFile("C:\\Work\\plain.txt", "");
    const Case cases[] = {
        {"folder is missing", {"C:\\Work\\gone", kIcon, "t", ""}, kFolderMissingText + std::string("C:\\Work\\gone"), false},
        {"folder is a file", {"C:\\Work\\plain.txt", "", "t", ""}, kFolderMissingText + std::string("C:\\Work\\plain.txt"), false},
        {"icon vanished", {F, "D:\\Icons\\gone.ico", "t", kPicture}, kCopyFailedText + F + "\\tavik.ico", false},
        {"picture vanished", {F, kIcon, "t", "D:\\gone.jpg"}, kCopyFailedText + F + "\\tavik.jpg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        notices.events.clear();
        set(c.request);
        EXPECT_EQ(notices.events, error(c.notice));
        EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), "[.ShellClassInfo]\r\nInfoTip=old\r\n");
    }
    EXPECT_FALSE(fs.exists("C:\\Work\\gone"));
}

TEST_F(Procedures, FailedCopyPutsTheOldFilesAttributesBack) {
    setEarlier();
    set({F, "D:\\Icons\\gone.ico", "", ""});
    EXPECT_EQ(notices.events, error(kCopyFailedText + F + "\\tavik.ico"));
    EXPECT_EQ(fs.attributesOf(F + "\\tavik.ico"), 38u);
    EXPECT_EQ(fs.contentOf(F + "\\tavik.ico"), "ICON-1");
}

TEST_F(Procedures, IconPickedFromInsideTheFolderIsAlreadyPlaced) {
    setEarlier();
    set({F, "c:\\work\\我的文件夹\\TAVIK.ICO", "", ""});
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.contentOf(F + "\\tavik.ico"), "ICON-1");
    for (const std::string& call : fs.calls()) EXPECT_EQ(call.find("copyFile"), std::string::npos);
}

TEST_F(Procedures, IncompleteDesktopIniIsDeleted) {
    set(everything());
    const auto& clean = fs.calls();
    int writeIndex = -1;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (clean[i].rfind("writeText", 0) == 0) writeIndex = static_cast<int>(i);
    }
    ASSERT_GE(writeIndex, 0);
    FakeFileSystem fresh;
    fs = fresh;
    SetUp();
    notices.events.clear();
    fs.failCall(writeIndex);
    set(everything());
    EXPECT_EQ(notices.events, error(kWriteFailedText + F + "\\desktop.ini"));
    EXPECT_FALSE(fs.exists(F + "\\desktop.ini"));
}

TEST_F(Procedures, DriveRootGetsTwoBackslashesBeforeEachName) {
    set({"D:\\", kIcon, "", ""});
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.calls()[1], "getAttributes(D:\\\\Desktop.ini)");
    EXPECT_EQ(fs.calls()[3], "copyFile(" + kIcon + ",D:\\\\tavik.ico)");
    EXPECT_TRUE(fs.exists("D:\\desktop.ini"));
}

TEST_F(Procedures, ClearAfterSetRemovesTheThreeFilesOnly) {
    setEarlier();
    clear(F);
    EXPECT_EQ(notices.events, std::vector<Notices::Event>{Notices::information(kClearDoneText, kInformationTitle)});
    for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
        EXPECT_FALSE(fs.exists(F + name)) << name;
    }
    EXPECT_TRUE(fs.exists(kOther));
    EXPECT_EQ(fs.attributesOf(F), 16u | 36u);  // Clear changes no attribute of the folder
    EXPECT_EQ(fs.shellNotifications(), Calls{F});
}

TEST_F(Procedures, ClearOfANeverSetFolderSucceedsQuietly) {
    clear(F);
    EXPECT_EQ(notices.events, std::vector<Notices::Event>{Notices::information(kClearDoneText, kInformationTitle)});
    EXPECT_TRUE(fs.shellNotifications().empty());
    clear("C:\\Work\\gone");
    EXPECT_EQ(notices.events.back(), Notices::error(kFolderMissingText + std::string("C:\\Work\\gone"), kErrorTitle));
}

TEST_F(Procedures, ClearRemovesReadOnlyFilesAndListsThoseThatStay) {
    fs.addFile(F + "\\tavik.jpg", "J", 1);
    fs.addDirectory(F + "\\desktop.ini");  // cannot be deleted as a file
    fs.addDirectory(F + "\\tavik.ico");
    clear(F);
    EXPECT_FALSE(fs.exists(F + "\\tavik.jpg"));
    EXPECT_EQ(notices.events,
              error(kDeleteFailedText + F + "\\desktop.ini\r\n" + F + "\\tavik.ico"));
}

TEST_F(Procedures, SetThenClearKeepsAnotherProgramsSettings) {
    fs.addFile(F + "\\Desktop.ini", kForeignIni, 2 | 4);
    set(everything());
    EXPECT_EQ(notices.events, setDone());
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"),
              "[.ShellClassInfo]\r\n"
              "IconFile = tavik.ico\r\n"
              "IconIndex = 0\r\n"
              "InfoTip=Kelvaro\r\n"
              "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
              "ConfirmFileOp=0\r\n"
              "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
              "IconArea_Image = tavik.jpg\r\n"
              "[ViewState]\r\n"
              "Mode=\r\n"
              "Vid=\r\n"
              "FolderType=Pictures\r\n");
    EXPECT_EQ(fs.attributesOf(F + "\\desktop.ini"), 38u);

    notices.events.clear();
    clear(F);
    EXPECT_EQ(notices.events, std::vector<Notices::Event>{Notices::information(kClearDoneText, kInformationTitle)});
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), kForeignIni);
    EXPECT_EQ(fs.attributesOf(F + "\\desktop.ini"), 38u);  // Clear changes no attribute
    EXPECT_FALSE(fs.exists(F + "\\tavik.ico"));
    EXPECT_FALSE(fs.exists(F + "\\tavik.jpg"));
    EXPECT_EQ(fs.attributesOf(F), 16u | 36u);
}

TEST_F(Procedures, ClearLeavesADesktopIniWithNothingOfKelvarosAlone) {
    fs.addFile(F + "\\desktop.ini", kForeignIni, 2 | 4);
    fs.addFile(F + "\\tavik.ico", "ICON-0", 38);
    clear(F);
    EXPECT_EQ(notices.events, std::vector<Notices::Event>{Notices::information(kClearDoneText, kInformationTitle)});
    EXPECT_EQ(fs.contentOf(F + "\\desktop.ini"), kForeignIni);
    EXPECT_EQ(fs.attributesOf(F + "\\desktop.ini"), 6u);
    EXPECT_FALSE(fs.exists(F + "\\tavik.ico"));
    for (const std::string& call : fs.calls()) {
        if (call.find("desktop.ini") == std::string::npos) continue;
        EXPECT_TRUE(call.rfind("getAttributes", 0) == 0 || call.rfind("readFile", 0) == 0) << call;
    }
}

TEST_F(Procedures, ADesktopIniThatCannotBeKeptStopsSetAndClearFirst) {
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        // "我的文档" as UTF-16 characters: no ANSI text may carry them over.
        {"UTF-16 with a Chinese name",
         utf16("[.ShellClassInfo]\r\nInfoTip=x\r\nLocalizedResourceName=") +
             std::string("\x11\x62\x84\x76\x87\x65\x63\x68", 8) + utf16("\r\n").substr(2)},
        {"UTF-8", "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=x\r\nName=n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs = FakeFileSystem();
        notices.events.clear();
        SetUp();
        setEarlier();
        fs.addFile(F + "\\desktop.ini", c.content, 38);
        fs.addFile(kIcon, "ICON-2");
        const FakeFileSystem::Tree before = fs.tree();

        set(everything());
        EXPECT_EQ(notices.events, error(kCannotKeepIniText + F + "\\Desktop.ini"));
        EXPECT_TRUE(fs.tree() == before);
        for (const std::string& call : fs.calls()) EXPECT_EQ(call.find("copyFile"), std::string::npos);

        notices.events.clear();
        clear(F);
        EXPECT_EQ(notices.events, error(kCannotKeepIniText + F + "\\desktop.ini"));
        EXPECT_TRUE(fs.tree() == before);
        EXPECT_TRUE(fs.shellNotifications().empty());
    }
}

// For every call of a clean run, a run in which that one call fails: the user is
// never told of success, nothing outside Kelvaro's three files is touched, and
// the lines of a desktop.ini that are not Kelvaro's (foreignLines) are still in
// it, in their order, as they are after the clean run.
class FaultInjection : public Procedures {
protected:
    template <typename Prepare, typename Run>
    void eachCallFailsOnce(Prepare prepare, Run run) {
        prepare();
        const FakeFileSystem::Tree before = fs.tree();
        fs.clearCalls();
        notices.events.clear();
        run();
        const std::vector<std::string> clean = fs.calls();
        ASSERT_GT(clean.size(), 5u);
        ASSERT_EQ(notices.events.size(), 1u);
        EXPECT_EQ(notices.events[0].kind, NoticeKind::information);
        expectForeignLinesKept();
        for (std::size_t k = 0; k < clean.size(); ++k) {
            if (clean[k].rfind("closeFile", 0) == 0) continue;  // reports nothing
            fs = FakeFileSystem();
            notices.events.clear();
            SetUp();
            prepare();
            fs.clearCalls();
            notices.events.clear();
            fs.failCall(static_cast<int>(k));
            run();
            SCOPED_TRACE(::testing::Message() << "call " << k << " fails: " << clean[k]);
            ASSERT_EQ(notices.events.size(), 1u);
            EXPECT_EQ(notices.events[0].kind, NoticeKind::error);
            EXPECT_EQ(notices.events[0].title, kErrorTitle);
            expectOnlyKelvarosFilesDiffer(before, fs.tree());
            expectForeignLinesKept();
        }
    }

    void expectForeignLinesKept() {
        if (foreignLines.empty()) return;
        const std::string content = fs.contentOf(F + "\\desktop.ini");
        EXPECT_TRUE(holdsInOrder(content, foreignLines)) << "desktop.ini holds:\n" << content;
    }

    std::vector<std::string> foreignLines;

    void expectOnlyKelvarosFilesDiffer(const FakeFileSystem::Tree& before,
                                       const FakeFileSystem::Tree& after) {
        auto ours = [](const std::string& key) {
            for (const char* name : {"\\desktop.ini", "\\tavik.ico", "\\tavik.jpg"}) {
                const std::string suffix = FakeFileSystem::normalise(F + name);
                if (key == suffix) return true;
            }
            return key == FakeFileSystem::normalise(F);  // its attributes may change
        };
        for (const auto& [key, entry] : before) {
            if (ours(key)) continue;
            const auto it = after.find(key);
            ASSERT_NE(it, after.end()) << key << " was deleted";
            EXPECT_TRUE(it->second == entry) << key << " was changed";
        }
        for (const auto& [key, entry] : after) {
            EXPECT_TRUE(ours(key) || before.count(key)) << key << " was created";
        }
    }
};

TEST_F(FaultInjection, SetOverAnEarlierSet) {
    eachCallFailsOnce([this] { setEarlier(); fs.addFile(kIcon, "ICON-2"); },
                      [this] { set(everything()); });
}

TEST_F(FaultInjection, Clear) {
    eachCallFailsOnce([this] { setEarlier(); }, [this] { clear(F); });
}

TEST_F(FaultInjection, SetOverAnotherProgramsDesktopIni) {
    foreignLines = kForeignLines;
    eachCallFailsOnce([this] { fs.addFile(F + "\\desktop.ini", kForeignIni, 2 | 4); },
                      [this] { set(everything()); });
}

TEST_F(FaultInjection, SetAgainOverAnotherProgramsDesktopIni) {
    foreignLines = kForeignLines;
    eachCallFailsOnce(
        [this] {
            fs.addFile(F + "\\desktop.ini", kForeignIni, 1 | 2 | 4);
            setEarlier();
            fs.addFile(kIcon, "ICON-2");
        },
        [this] { set({F, kIcon, "新的提示", ""}); });
}

TEST_F(FaultInjection, ClearAfterSetOverAnotherProgramsDesktopIni) {
    foreignLines = kForeignLines;
    eachCallFailsOnce(
        [this] {
            fs.addFile(F + "\\desktop.ini", kForeignIni, 2 | 4);
            setEarlier();
        },
        [this] { clear(F); });
}

// A UTF-16 file is replaced by an ANSI one; put back after a failure, it is ANSI too.
TEST_F(FaultInjection, SetOverAUtf16DesktopIni) {
    foreignLines = kForeignLines;
    eachCallFailsOnce([this] { fs.addFile(F + "\\desktop.ini", utf16(kForeignIni), 2 | 4); },
                      [this] { set(everything()); });
}

TEST_F(FaultInjection, ClearOfAUtf16DesktopIni) {
    foreignLines = kForeignLines;
    eachCallFailsOnce(
        [this] {
            fs.addFile(F + "\\desktop.ini", utf16("[.ShellClassInfo]\r\nInfoTip=x\r\n" + kForeignIni.substr(19)), 2 | 4);
            fs.addFile(F + "\\tavik.ico", "ICON-0", 38);
            fs.addFile(F + "\\tavik.jpg", "JPEG-0", 38);
        },
        [this] { clear(F); });
}

}  // namespace
}  // namespace kelvaro
