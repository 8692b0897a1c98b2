// WindowsFileSystem on real files under Wine, and, through stand-ins for the
// kernel calls, what it asks of the kernel where the files cannot tell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scratch_folder.h"
#include "windows_file_system.h"

namespace kelvaro {
namespace {

using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// ---------------------------------------------------------------------------
// Real files.

class RealFiles : public ::testing::Test {
protected:
    ScratchFolder dir;
    WindowsFileSystem fs;
};

TEST_F(RealFiles, CopyReplacesTheDestination) {
    ASSERT_TRUE(writeBytes(dir / "star.ico", "NEW ICON"));
    ASSERT_TRUE(writeBytes(dir / "tavik.ico", "an older and longer icon"));

    EXPECT_TRUE(fs.copyFile(dir / "star.ico", dir / "tavik.ico"));
    EXPECT_EQ("NEW ICON", readBytes(dir / "tavik.ico"));
    EXPECT_EQ("NEW ICON", readBytes(dir / "star.ico"));

    // A missing source copies nothing and leaves the destination alone.
    EXPECT_FALSE(fs.copyFile(dir / "missing.ico", dir / "tavik.ico"));
    EXPECT_EQ("NEW ICON", readBytes(dir / "tavik.ico"));
    // So does a destination folder that is not there.
    EXPECT_FALSE(fs.copyFile(dir / "star.ico", dir / "nowhere\\tavik.ico"));
}

TEST_F(RealFiles, DeleteRemovesOnlyWhatIsThere) {
    ASSERT_TRUE(writeBytes(dir / "plain.txt", "x"));
    ASSERT_TRUE(writeBytes(dir / "placed.ini", "x"));
    ASSERT_TRUE(SetFileAttributesA((dir / "placed.ini").c_str(), 38));

    EXPECT_TRUE(fs.deleteFile(dir / "plain.txt"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, attributesOf(dir / "plain.txt"));
    // Hidden and system files are deleted like any other.
    EXPECT_TRUE(fs.deleteFile(dir / "placed.ini"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, attributesOf(dir / "placed.ini"));

    EXPECT_FALSE(fs.deleteFile(dir / "plain.txt"));
    EXPECT_FALSE(fs.deleteFile(dir / "nowhere\\plain.txt"));
}

TEST_F(RealFiles, PathExistsMatchesLikeTheShell) {
    ASSERT_TRUE(writeBytes(dir / "Desktop.ini", "x"));
    ASSERT_TRUE(SetFileAttributesA((dir / "Desktop.ini").c_str(), 38));
    ASSERT_TRUE(CreateDirectoryA((dir / "tavik.jpg").c_str(), nullptr));

    const struct {
        const char* name;
        bool exists;
    } cases[] = {
        {"Desktop.ini", true},    // hidden and system count
        {"desktop.INI", true},    // letter case does not matter
        {"*.ini", true},          // wildcards
        {"Desk?op.ini", true},
        {"D*", true},
        {"tavik.jpg", true},      // a folder counts as well as a file
        {"tavik.*", true},
        {"tavik.ico", false},
        {"*.ico", false},
        {"Desk?.ini", false},
        {"nowhere\\Desktop.ini", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.exists, fs.pathExists(dir / c.name)) << c.name;
    }
    EXPECT_TRUE(fs.pathExists(dir.path()));
}

TEST_F(RealFiles, SetAttributesReplacesThemWithTheSettableBitsOnly) {
    const std::string file = dir / "tavik.ico";
    ASSERT_TRUE(writeBytes(file, "x"));

    // Temporary (0x100), normal (0x80) and not-indexed (0x2000) do not pass.
    EXPECT_TRUE(fs.setAttributes(file, 38 | 0x100 | 0x80 | 0x2000));
    EXPECT_EQ(38u, attributesOf(file));
    EXPECT_TRUE(fs.setAttributes(file, 39 | 0x100));
    EXPECT_EQ(39u, attributesOf(file));
    // Nothing of the earlier attributes survives: read-only and hidden go.
    EXPECT_TRUE(fs.setAttributes(file, 36));
    EXPECT_EQ(36u, attributesOf(file));

    EXPECT_FALSE(fs.setAttributes(dir / "missing.ico", 38));
}

TEST_F(RealFiles, SetAttributesOfAFolder) {
    const std::string folder = dir / "我的文件夹";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    // Wine keeps neither archive nor read-only on a folder (Windows keeps both),
    // so only hidden and system are compared.
    const DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

    EXPECT_TRUE(fs.setAttributes(folder, 38 | 0x100));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, attributesOf(folder) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(kHiddenSystem, attributesOf(folder) & kHiddenSystem);
    EXPECT_TRUE(fs.setAttributes(folder, 36));
    EXPECT_EQ(FILE_ATTRIBUTE_SYSTEM, attributesOf(folder) & kHiddenSystem);
}

TEST_F(RealFiles, GetAttributes) {
    ASSERT_TRUE(writeBytes(dir / "tavik.ico", "x"));
    ASSERT_TRUE(SetFileAttributesA((dir / "tavik.ico").c_str(), 38));

    std::uint32_t attributes = 0;
    EXPECT_TRUE(fs.getAttributes(dir / "tavik.ico", attributes));
    EXPECT_EQ(38u, attributes);
    EXPECT_TRUE(fs.getAttributes(dir.path(), attributes));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, attributes & FILE_ATTRIBUTE_DIRECTORY);

    // Paths that name nothing, for the reasons Windows gives.
    for (const char* name : {"missing.ico", "missing folder\\tavik.ico", "bad<name"}) {
        attributes = 0;
        EXPECT_TRUE(fs.getAttributes(dir / name, attributes)) << name;
        EXPECT_EQ(kNoAttributes, attributes) << name;
    }
}

TEST_F(RealFiles, OpenForRewriteCreatesOrEmpties) {
    ASSERT_TRUE(writeBytes(dir / "desktop.ini", "what an earlier run wrote"));

    const FileNumber old = fs.openForRewrite(dir / "desktop.ini");
    const FileNumber fresh = fs.openForRewrite(dir / "new.ini");
    EXPECT_NE(kNoFile, old);
    EXPECT_NE(kNoFile, fresh);
    EXPECT_NE(old, fresh);
    fs.closeFile(old);
    fs.closeFile(fresh);

    EXPECT_EQ("", readBytes(dir / "desktop.ini"));
    EXPECT_EQ("", readBytes(dir / "new.ini"));
    EXPECT_EQ(kNoFile, fs.openForRewrite(dir / "nowhere\\desktop.ini"));
    EXPECT_EQ(kNoFile, fs.openForRewrite(""));
}

TEST_F(RealFiles, WriteTextWritesExactlyItsBytes) {
    const std::string first = "[.ShellClassInfo]\r\nInfoTip=我的 Kelvaro\r\n";
    const std::string second = "IconFile = tavik.ico";
    const FileNumber file = fs.openForRewrite(dir / "desktop.ini");
    ASSERT_NE(kNoFile, file);

    EXPECT_TRUE(fs.writeText(file, first));
    EXPECT_TRUE(fs.writeText(file, ""));
    EXPECT_TRUE(fs.writeText(file, second));
    // A text ends at its first zero byte.
    EXPECT_TRUE(fs.writeText(file, std::string("\r\nend\0hidden", 12)));
    // Others can read the file while it is open.
    EXPECT_EQ(first + second + "\r\nend", readBytes(dir / "desktop.ini"));
    fs.closeFile(file);

    // No terminator, no byte-order mark, nothing added on close.
    EXPECT_EQ(first + second + "\r\nend", readBytes(dir / "desktop.ini"));
    // The number is forgotten once closed.
    EXPECT_FALSE(fs.writeText(file, "more"));
    fs.closeFile(file);
    EXPECT_EQ(first + second + "\r\nend", readBytes(dir / "desktop.ini"));
}

TEST_F(RealFiles, AnEmptyTextLeavesTheFileEmpty) {
    const FileNumber file = fs.openForRewrite(dir / "desktop.ini");
    ASSERT_NE(kNoFile, file);
    EXPECT_TRUE(fs.writeText(file, ""));
    fs.closeFile(file);
    EXPECT_EQ("", readBytes(dir / "desktop.ini"));
}

TEST_F(RealFiles, NumbersThatNameNoOpenFileAreIgnored) {
    EXPECT_FALSE(fs.writeText(kNoFile, "x"));
    EXPECT_FALSE(fs.writeText(0x7654321, "x"));
    EXPECT_FALSE(fs.writeText(-1, "x"));
    fs.closeFile(kNoFile);
    fs.closeFile(0x7654321);
    // An open file is not disturbed by them.
    const FileNumber file = fs.openForRewrite(dir / "a.txt");
    ASSERT_NE(kNoFile, file);
    fs.closeFile(file + 1);
    EXPECT_TRUE(fs.writeText(file, "still open"));
    fs.closeFile(file);
    EXPECT_EQ("still open", readBytes(dir / "a.txt"));
}

TEST_F(RealFiles, ReadFileReadsTheWholeFile) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes += static_cast<char>(i * 7);  // zeros too
    ASSERT_TRUE(writeBytes(dir / "big.bin", bytes));
    ASSERT_TRUE(SetFileAttributesA((dir / "big.bin").c_str(), 38));

    std::string read;
    EXPECT_TRUE(fs.readFile(dir / "big.bin", read));
    EXPECT_EQ(bytes, read);

    ASSERT_TRUE(writeBytes(dir / "empty.bin", ""));
    EXPECT_TRUE(fs.readFile(dir / "empty.bin", read));
    EXPECT_EQ("", read);

    EXPECT_FALSE(fs.readFile(dir / "missing.bin", read));
    EXPECT_FALSE(fs.readFile(dir.path(), read));
}

// ---------------------------------------------------------------------------
// Stand-ins for the kernel: each call is logged as one line.

namespace kernel {

std::vector<std::string> log;
const HANDLE kHandle = reinterpret_cast<HANDLE>(0x4321);
HANDLE createResult = kHandle;
BOOL writeResult = TRUE;
DWORD writeShortBy = 0;
BOOL closeResult = TRUE;
DWORD attributesResult = INVALID_FILE_ATTRIBUTES;
DWORD lastError = ERROR_SUCCESS;
constexpr DWORD kPosition = 17;

void reset() {
    log.clear();
    createResult = kHandle;
    writeResult = TRUE;
    writeShortBy = 0;
    closeResult = TRUE;
    attributesResult = INVALID_FILE_ATTRIBUTES;
    lastError = ERROR_SUCCESS;
}

std::string hex(DWORD value) {
    char text[16];
    wsprintfA(text, "%lx", value);
    return text;
}

BOOL WINAPI copyFile(LPCSTR from, LPCSTR to, BOOL failIfExists) {
    log.push_back(std::string("CopyFileA ") + from + " " + to + " " + hex(failIfExists));
    return TRUE;
}
BOOL WINAPI deleteFile(LPCSTR path) {
    log.push_back(std::string("DeleteFileA ") + path);
    return TRUE;
}
HANDLE WINAPI findFirstFile(LPCSTR path, LPWIN32_FIND_DATAA) {
    log.push_back(std::string("FindFirstFileA ") + path);
    return kHandle;
}
BOOL WINAPI findClose(HANDLE) {
    log.push_back("FindClose");
    return TRUE;
}
BOOL WINAPI setFileAttributes(LPCSTR path, DWORD attributes) {
    log.push_back(std::string("SetFileAttributesA ") + path + " " + hex(attributes));
    return TRUE;
}
DWORD WINAPI getFileAttributes(LPCSTR path) {
    log.push_back(std::string("GetFileAttributesA ") + path);
    return attributesResult;
}
DWORD WINAPI getLastError() { return lastError; }
HANDLE WINAPI createFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                         DWORD disposition, DWORD flags, HANDLE templateFile) {
    std::string line = std::string("CreateFileA ") + path + " " + hex(access) + " " + hex(share);
    if (security == nullptr) {
        line += " no-security";
    } else {
        line += security->nLength == sizeof(SECURITY_ATTRIBUTES) ? " sa" : " bad-sa";
        line += security->lpSecurityDescriptor == nullptr ? " no-descriptor" : " descriptor";
        line += security->bInheritHandle ? " inherit" : " no-inherit";
    }
    line += " " + hex(disposition) + " " + hex(flags) + (templateFile ? " template" : "");
    log.push_back(line);
    return createResult;
}
DWORD WINAPI setFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
    log.push_back("SetFilePointer " + hex(reinterpret_cast<DWORD>(file)) + " " + hex(distance) +
                  (high ? " high" : "") + " " + hex(method));
    return kPosition;
}
BOOL WINAPI writeFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written, LPOVERLAPPED) {
    log.push_back("WriteFile " + hex(reinterpret_cast<DWORD>(file)) + " " +
                  std::string(static_cast<const char*>(bytes), count));
    *written = writeResult ? count - writeShortBy : 0;
    return writeResult;
}
BOOL WINAPI readFile(HANDLE, LPVOID, DWORD, LPDWORD read, LPOVERLAPPED) {
    log.push_back("ReadFile");
    *read = 0;
    return TRUE;
}
BOOL WINAPI closeHandle(HANDLE file) {
    log.push_back("CloseHandle " + hex(reinterpret_cast<DWORD>(file)));
    return closeResult;
}
void WINAPI changeNotify(LONG event, UINT flags, LPCVOID item1, LPCVOID item2) {
    log.push_back("SHChangeNotify " + hex(event) + " " + hex(flags) + " " +
                  static_cast<const char*>(item1) + (item2 ? " item2" : ""));
}

const FileSystemCalls calls = {
    copyFile,      deleteFile,  findFirstFile, findClose,   setFileAttributes,
    getFileAttributes, getLastError, createFile, setFilePointer, writeFile,
    readFile,      closeHandle, changeNotify,
};

}  // namespace kernel

using Log = std::vector<std::string>;

class KernelCalls : public ::testing::Test {
protected:
    void SetUp() override { kernel::reset(); }
    // The calls logged since the last look.
    Log take() {
        Log taken;
        taken.swap(kernel::log);
        return taken;
    }

    WindowsFileSystem fs{kernel::calls};
};

TEST_F(KernelCalls, AnEmptyPathOpensNothingWithoutAskingTheKernel) {
    EXPECT_EQ(kNoFile, fs.openForRewrite(""));
    EXPECT_EQ(Log{}, take());
}

TEST_F(KernelCalls, NumbersThatNameNoOpenFileNeverReachTheKernel) {
    EXPECT_FALSE(fs.writeText(kNoFile, "x"));
    EXPECT_FALSE(fs.writeText(12345, "x"));
    fs.closeFile(kNoFile);
    fs.closeFile(12345);
    EXPECT_EQ(Log{}, take());
}

TEST_F(KernelCalls, OpenWriteAndClose) {
    const FileNumber file = fs.openForRewrite("C:\\我的\\desktop.ini");
    ASSERT_NE(kNoFile, file);
    // GENERIC_WRITE, shared for reading and writing, an inheritable handle,
    // CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, no template.
    EXPECT_EQ(Log{"CreateFileA C:\\我的\\desktop.ini 40000000 3 sa no-descriptor inherit 2 80"},
              take());

    EXPECT_TRUE(fs.writeText(file, "ab"));
    EXPECT_EQ((Log{"SetFilePointer 4321 0 1", "WriteFile 4321 ab"}), take());
    EXPECT_TRUE(fs.writeText(file, ""));
    EXPECT_EQ(Log{}, take());
    EXPECT_TRUE(fs.writeText(file, std::string("cd\0ef", 5)));
    EXPECT_EQ((Log{"SetFilePointer 4321 0 1", "WriteFile 4321 cd"}), take());

    fs.closeFile(file);
    EXPECT_EQ(Log{"CloseHandle 4321"}, take());
    fs.closeFile(file);
    EXPECT_FALSE(fs.writeText(file, "x"));
    EXPECT_EQ(Log{}, take());
}

TEST_F(KernelCalls, AFailedWriteMovesBackToWhereItStarted) {
    const struct {
        BOOL result;
        DWORD shortBy;
    } failures[] = {{FALSE, 0}, {TRUE, 1}, {TRUE, 3}};
    for (const auto& failure : failures) {
        const FileNumber file = fs.openForRewrite("C:\\f\\desktop.ini");
        ASSERT_NE(kNoFile, file);
        take();
        kernel::writeResult = failure.result;
        kernel::writeShortBy = failure.shortBy;

        EXPECT_FALSE(fs.writeText(file, "abc"));
        EXPECT_EQ((Log{"SetFilePointer 4321 0 1", "WriteFile 4321 abc", "SetFilePointer 4321 11 0"}),
                  take());
        fs.closeFile(file);
        take();
    }
}

TEST_F(KernelCalls, AFailedOpenLeavesNothingOpen) {
    kernel::createResult = INVALID_HANDLE_VALUE;
    EXPECT_EQ(kNoFile, fs.openForRewrite("C:\\f\\desktop.ini"));
    take();
    fs.closeFile(kNoFile);
    EXPECT_EQ(Log{}, take());
}

TEST_F(KernelCalls, ACloseThatFailsStillForgetsTheNumber) {
    const FileNumber file = fs.openForRewrite("C:\\f\\desktop.ini");
    kernel::closeResult = FALSE;
    fs.closeFile(file);
    take();
    EXPECT_FALSE(fs.writeText(file, "x"));
    fs.closeFile(file);
    EXPECT_EQ(Log{}, take());
}

TEST_F(KernelCalls, EveryOpenFileHasItsOwnNumber) {
    std::vector<FileNumber> numbers;
    for (int i = 0; i < 5; ++i) numbers.push_back(fs.openForRewrite("C:\\f\\" + std::to_string(i)));
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_NE(kNoFile, numbers[i]);
        for (size_t j = 0; j < i; ++j) EXPECT_NE(numbers[j], numbers[i]);
    }
    // Closing one leaves the others open.
    fs.closeFile(numbers[2]);
    EXPECT_FALSE(fs.writeText(numbers[2], "x"));
    EXPECT_TRUE(fs.writeText(numbers[3], "x"));
    for (FileNumber n : numbers) fs.closeFile(n);
}

TEST_F(KernelCalls, AttributesThatCannotBeReadForOtherReasonsAreAFailure) {
    const struct {
        DWORD error;
        bool read;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, true},
        {ERROR_PATH_NOT_FOUND, true},
        {ERROR_INVALID_NAME, true},
        {ERROR_ACCESS_DENIED, false},
        {ERROR_SHARING_VIOLATION, false},
        {ERROR_NOT_READY, false},
    };
    for (const auto& c : cases) {
        kernel::lastError = c.error;
        std::uint32_t attributes = 0;
        EXPECT_EQ(c.read, fs.getAttributes("C:\\f", attributes)) << c.error;
        if (c.read) {
            EXPECT_EQ(kNoAttributes, attributes) << c.error;
        }
    }
}

TEST_F(KernelCalls, OperationsPassTheirArgumentsThrough) {
    fs.copyFile("C:\\a.ico", "C:\\f\\tavik.ico");
    fs.deleteFile("C:\\f\\Desktop.ini");
    fs.pathExists("C:\\f\\Desktop.ini");
    fs.setAttributes("C:\\f", 0xFFFFFFFF);
    fs.folderChanged("C:\\我的文件夹");
    EXPECT_EQ((Log{
                  "CopyFileA C:\\a.ico C:\\f\\tavik.ico 0",  // an existing copy is replaced
                  "DeleteFileA C:\\f\\Desktop.ini",
                  "FindFirstFileA C:\\f\\Desktop.ini",
                  "FindClose",
                  "SetFileAttributesA C:\\f 27",
                  // SHCNE_UPDATEITEM, SHCNF_PATHA | SHCNF_FLUSH
                  "SHChangeNotify 2000 1001 C:\\我的文件夹",
              }),
              take());
}

}  // namespace
}  // namespace kelvaro
