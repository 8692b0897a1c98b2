// FileSystemOps on the ANSI Windows kernel calls.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "file_system_ops.h"

namespace kelvaro {

// Every system call the file-system binding makes. The binding only calls
// through such a table, so a test can hand it fakes that count the calls.
struct FileSystemCalls {
    decltype(&::CopyFileA) copyFile;
    decltype(&::DeleteFileA) deleteFile;
    decltype(&::FindFirstFileA) findFirstFile;
    decltype(&::FindClose) findClose;
    decltype(&::SetFileAttributesA) setFileAttributes;
    decltype(&::GetFileAttributesA) getFileAttributes;
    decltype(&::GetLastError) getLastError;
    decltype(&::CreateFileA) createFile;
    decltype(&::SetFilePointer) setFilePointer;
    decltype(&::WriteFile) writeFile;
    decltype(&::ReadFile) readFile;
    decltype(&::CloseHandle) closeHandle;
    decltype(&::SHChangeNotify) changeNotify;

    // The real ones.
    static const FileSystemCalls& system();
};

class WindowsFileSystem : public FileSystemOps {
public:
    explicit WindowsFileSystem(const FileSystemCalls& calls = FileSystemCalls::system())
        : calls_(calls) {}

    bool copyFile(const std::string& source, const std::string& destination) override;
    bool deleteFile(const std::string& path) override;
    bool pathExists(const std::string& path) override;
    bool setAttributes(const std::string& path, std::uint32_t attributes) override;
    bool getAttributes(const std::string& path, std::uint32_t& attributes) override;
    FileNumber openForRewrite(const std::string& path) override;
    bool writeText(FileNumber file, const std::string& text) override;
    void closeFile(FileNumber file) override;
    bool readFile(const std::string& path, std::string& bytes) override;
    void folderChanged(const std::string& folder) override;

private:
    FileSystemCalls calls_;
};

}  // namespace kelvaro
