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
        "getAttributes(" + F + "\\tavik.ico)",
        "copyFile(" + kIcon + "," + F + "\\tavik.ico)",
        "getAttributes(" + F + "\\tavik.jpg)",
        "copyFile(" + kPicture + "," + F + "\\tavik.jpg)",
        "pathExists(" + F + "\\Desktop.ini)",
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
        "getAttributes(" + F + "\\tavik.ico)",
        "setAttributes(" + F + "\\tavik.ico,32)",
        "copyFile(" + kIcon + "," + F + "\\tavik.ico)",
        "getAttributes(" + F + "\\tavik.jpg)",
        "setAttributes(" + F + "\\tavik.jpg,32)",
        "copyFile(" + kPicture + "," + F + "\\tavik.jpg)",
        "pathExists(" + F + "\\Desktop.ini)",
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
    EXPECT_EQ(fs.calls()[2], "copyFile(" + kIcon + ",D:\\\\tavik.ico)");
    EXPECT_EQ(fs.calls()[3], "pathExists(D:\\\\Desktop.ini)");
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

// For every call of a clean run, a run in which that one call fails: the user is
// never told of success, and nothing outside Kelvaro's three files is touched.
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
        }
    }

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

}  // namespace
}  // namespace kelvaro
