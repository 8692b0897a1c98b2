// One personalisation request and the names of the files it places in a folder.
#pragma once

#include <cstdint>
#include <string>

namespace kelvaro {

// The four texts of one request, read from the window's fields when Set or Clear
// is pressed. A field is present when its text is not empty; nothing is trimmed.
struct FolderPersonalization {
    std::string folder;
    std::string iconSource;
    std::string infoTip;
    std::string backgroundSource;
};

inline bool isPresent(const std::string& text) { return !text.empty(); }

// Appended to the folder text byte for byte: no separator is added or removed.
inline constexpr const char* kDesktopIniSuffix = "\\desktop.ini";
inline constexpr const char* kDesktopIniProbeSuffix = "\\Desktop.ini";
inline constexpr const char* kIconSuffix = "\\tavik.ico";
inline constexpr const char* kBackgroundSuffix = "\\tavik.jpg";

// Windows FILE_ATTRIBUTE_* bits, as the core uses them.
inline constexpr std::uint32_t kAttributeReadOnly = 1;
inline constexpr std::uint32_t kAttributeHidden = 2;
inline constexpr std::uint32_t kAttributeSystem = 4;
inline constexpr std::uint32_t kAttributeDirectory = 16;
inline constexpr std::uint32_t kAttributeArchive = 32;
// Only these bits pass setAttributes.
inline constexpr std::uint32_t kSettableAttributes = 39;

inline constexpr std::uint32_t kFolderAttributes = 36;      // system, archive
inline constexpr std::uint32_t kPlacedFileAttributes = 38;  // hidden, system, archive
// What a placed file gets before it is replaced or deleted: Windows refuses to
// overwrite a hidden or read-only file and to delete a read-only one.
inline constexpr std::uint32_t kPlainFileAttributes = 32;   // archive

}  // namespace kelvaro
