// The file-system operations that Set and Clear use; one Windows binding.
#pragma once

#include <cstdint>
#include <string>

namespace kelvaro {

// Names one open file; kNoFile names none.
using FileNumber = std::int32_t;
inline constexpr FileNumber kNoFile = 0;

// What getAttributes gives for a path that names nothing (INVALID_FILE_ATTRIBUTES).
inline constexpr std::uint32_t kNoAttributes = 0xFFFFFFFFu;

class FileSystemOps {
public:
    virtual ~FileSystemOps() = default;

    // Copies source over destination; an existing destination is replaced where
    // the platform allows it.
    virtual bool copyFile(const std::string& source, const std::string& destination) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // True when some directory entry matches path; '*' and '?' are wildcards.
    virtual bool pathExists(const std::string& path) = 0;
    // Replaces all attributes of path with attributes & 39.
    virtual bool setAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Reads the attributes of path. A path that names nothing reads as
    // kNoAttributes; false when they cannot be read for another reason.
    virtual bool getAttributes(const std::string& path, std::uint32_t& attributes) = 0;
    // Creates path, or empties it; kNoFile on failure.
    virtual FileNumber openForRewrite(const std::string& path) = 0;
    // Writes the bytes of text; true only when all of them were written.
    // A number that names no open file writes nothing and gives false.
    virtual bool writeText(FileNumber file, const std::string& text) = 0;
    // Forgets the number; one that names no open file is ignored.
    virtual void closeFile(FileNumber file) = 0;
    // Reads the whole file into bytes; false when it cannot be read.
    virtual bool readFile(const std::string& path, std::string& bytes) = 0;
    // Tells the shell that the folder's look changed, so it is redrawn now.
    virtual void folderChanged(const std::string& folder) = 0;
};

}  // namespace kelvaro
