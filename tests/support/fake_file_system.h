// An in-memory FileSystemOps that follows Windows' rules where Wine does not:
// names compare without regard to case, '*' and '?' match in pathExists, a hidden
// or read-only file is not copied over, CREATE_ALWAYS is refused on a hidden,
// system or read-only file, and a read-only file is not deleted. Every call is
// logged, and any one call can be made to fail.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "file_system_ops.h"

namespace kelvaro::fakes {

class FakeFileSystem : public FileSystemOps {
public:
    struct Entry {
        std::string name;  // as created, for listings
        bool directory = false;
        std::uint32_t attributes = 0;  // settable bits only
        std::string content;
        bool operator==(const Entry& other) const {
            return name == other.name && directory == other.directory &&
                   attributes == other.attributes && content == other.content;
        }
    };
    using Tree = std::map<std::string, Entry>;  // key: normalised, lower-case path

    // Building the world; these are not logged.
    void addDirectory(const std::string& path, std::uint32_t attributes = 0);
    void addFile(const std::string& path, const std::string& content, std::uint32_t attributes = 32);
    bool exists(const std::string& path) const;
    const Entry* find(const std::string& path) const;
    std::string contentOf(const std::string& path) const;
    // The attributes as Windows reports them, or kNoAttributes.
    std::uint32_t attributesOf(const std::string& path) const;
    const Tree& tree() const { return tree_; }

    // The calls made so far, one line each, e.g. "copyFile(C:\a,C:\b)".
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() {
        calls_.clear();
        notified_.clear();
    }
    // Makes call number index (0-based, as listed by calls()) fail without any
    // effect. closeFile, which reports nothing, cannot fail. -1 makes none fail.
    void failCall(int index) { failAt_ = index; }
    const std::vector<std::string>& shellNotifications() const { return notified_; }

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

    static std::string normalise(const std::string& path);

private:
    bool logCall(const std::string& line, bool canFail = true);  // false: this call fails
    Entry* findMutable(const std::string& path);
    bool parentIsDirectory(const std::string& key) const;

    Tree tree_;
    std::map<FileNumber, std::string> open_;
    FileNumber nextFile_ = 1;
    std::vector<std::string> calls_;
    std::vector<std::string> notified_;
    int failAt_ = -1;
};

}  // namespace kelvaro::fakes
