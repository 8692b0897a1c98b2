#include "windows_file_system.h"

#include <cstdint>
#include <cstring>
#include <map>

#include "folder_personalization.h"

namespace kelvaro {
namespace {

// The files opened by openForRewrite and not closed yet, for the whole process.
// Only the GUI thread uses it.
class OpenFiles {
public:
    FileNumber add(HANDLE handle) {
        // Numbers are drawn in turn; one still in use (after a wrap) is skipped.
        do {
            next_ = next_ == INT32_MAX ? 1 : next_ + 1;
        } while (handles_.count(next_) != 0);
        handles_[next_] = handle;
        return next_;
    }

    bool find(FileNumber file, HANDLE& handle) const {
        const auto entry = handles_.find(file);
        if (entry == handles_.end()) return false;
        handle = entry->second;
        return true;
    }

    void remove(FileNumber file) { handles_.erase(file); }

private:
    std::map<FileNumber, HANDLE> handles_;
    FileNumber next_ = kNoFile;
};

OpenFiles& openFiles() {
    static OpenFiles files;
    return files;
}

}  // namespace

const FileSystemCalls& FileSystemCalls::system() {
    static const FileSystemCalls calls = {
        ::CopyFileA,
        ::DeleteFileA,
        ::FindFirstFileA,
        ::FindClose,
        ::SetFileAttributesA,
        ::GetFileAttributesA,
        ::GetLastError,
        ::CreateFileA,
        ::SetFilePointer,
        ::WriteFile,
        ::ReadFile,
        ::CloseHandle,
        ::SHChangeNotify,
    };
    return calls;
}

bool WindowsFileSystem::copyFile(const std::string& source, const std::string& destination) {
    return calls_.copyFile(source.c_str(), destination.c_str(), FALSE) != FALSE;
}

bool WindowsFileSystem::deleteFile(const std::string& path) {
    return calls_.deleteFile(path.c_str()) != FALSE;
}

bool WindowsFileSystem::pathExists(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = calls_.findFirstFile(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    calls_.findClose(search);
    return true;
}

bool WindowsFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    return calls_.setFileAttributes(path.c_str(), attributes & kSettableAttributes) != FALSE;
}

bool WindowsFileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
    const DWORD found = calls_.getFileAttributes(path.c_str());
    if (found != INVALID_FILE_ATTRIBUTES) {
        attributes = found;
        return true;
    }
    switch (calls_.getLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        attributes = kNoAttributes;
        return true;
    default:
        return false;
    }
}

FileNumber WindowsFileSystem::openForRewrite(const std::string& path) {
    if (path.empty()) return kNoFile;
    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, TRUE};
    const HANDLE handle = calls_.createFile(path.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return kNoFile;
    return openFiles().add(handle);
}

bool WindowsFileSystem::writeText(FileNumber file, const std::string& text) {
    HANDLE handle = nullptr;
    if (!openFiles().find(file, handle)) return false;
    // The text ends at its first zero byte, as the ANSI texts it came from do.
    const DWORD length = static_cast<DWORD>(strnlen(text.c_str(), text.size()));
    if (length == 0) return true;
    const DWORD start = calls_.setFilePointer(handle, 0, nullptr, FILE_CURRENT);
    DWORD written = 0;
    if (calls_.writeFile(handle, text.c_str(), length, &written, nullptr) != FALSE &&
        written == length) {
        return true;
    }
    // A failed write leaves the file where it was, so a retry starts there.
    if (start != INVALID_SET_FILE_POINTER) {
        calls_.setFilePointer(handle, static_cast<LONG>(start), nullptr, FILE_BEGIN);
    }
    return false;
}

void WindowsFileSystem::closeFile(FileNumber file) {
    HANDLE handle = nullptr;
    if (!openFiles().find(file, handle)) return;
    openFiles().remove(file);
    calls_.closeHandle(handle);
}

bool WindowsFileSystem::readFile(const std::string& path, std::string& bytes) {
    const HANDLE handle = calls_.createFile(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    std::string content;
    char chunk[4096];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (calls_.readFile(handle, chunk, sizeof(chunk), &got, nullptr) == FALSE) {
            ok = false;
            break;
        }
        if (got == 0) break;
        content.append(chunk, got);
    }
    calls_.closeHandle(handle);
    if (ok) bytes.swap(content);
    return ok;
}

void WindowsFileSystem::folderChanged(const std::string& folder) {
    calls_.changeNotify(SHCNE_UPDATEITEM, SHCNF_PATHA | SHCNF_FLUSH, folder.c_str(), nullptr);
}

}  // namespace kelvaro
