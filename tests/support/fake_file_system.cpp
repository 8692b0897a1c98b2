#include "fake_file_system.h"

#include <cstring>

#include "ansi_text.h"
#include "folder_personalization.h"

namespace kelvaro::fakes {
namespace {

constexpr std::uint32_t kRefuseOverwrite = kAttributeHidden | kAttributeReadOnly;
constexpr std::uint32_t kRefuseCreateAlways = kAttributeHidden | kAttributeSystem | kAttributeReadOnly;

std::string parentOf(const std::string& key) {
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

std::string lastPart(const std::string& key) {
    const auto slash = key.rfind('\\');
    return slash == std::string::npos ? key : key.substr(slash + 1);
}

bool wildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') {
        for (const char* n = name;; ++n) {
            if (wildcardMatch(pattern + 1, n)) return true;
            if (*n == '\0') return false;
        }
    }
    if (*name == '\0') return false;
    if (*pattern == '?' || *pattern == *name) return wildcardMatch(pattern + 1, name + 1);
    return false;
}

}  // namespace

// Windows collapses repeated separators ("C:\dir\\desktop.ini" names the same
// file as "C:\dir\desktop.ini") and compares names without regard to case.
std::string FakeFileSystem::normalise(const std::string& path) {
    std::string key;
    std::string part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!key.empty()) key += '\\';
        key += part;
        part.clear();
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            part += path[i];
            part += path[++i];
        } else if (c == '\\' || c == '/') {
            flush();
        } else {
            part += path[i];
        }
    }
    flush();
    return asciiLower(key);
}

void FakeFileSystem::addDirectory(const std::string& path, std::uint32_t attributes) {
    tree_[normalise(path)] = Entry{lastPart(path), true, attributes & kSettableAttributes, {}};
}

void FakeFileSystem::addFile(const std::string& path, const std::string& content,
                             std::uint32_t attributes) {
    tree_[normalise(path)] = Entry{lastPart(path), false, attributes & kSettableAttributes, content};
}

const FakeFileSystem::Entry* FakeFileSystem::find(const std::string& path) const {
    const auto it = tree_.find(normalise(path));
    return it == tree_.end() ? nullptr : &it->second;
}

FakeFileSystem::Entry* FakeFileSystem::findMutable(const std::string& path) {
    const auto it = tree_.find(normalise(path));
    return it == tree_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::exists(const std::string& path) const { return find(path) != nullptr; }

std::string FakeFileSystem::contentOf(const std::string& path) const {
    const Entry* e = find(path);
    return e ? e->content : std::string();
}

std::uint32_t FakeFileSystem::attributesOf(const std::string& path) const {
    const Entry* e = find(path);
    if (!e) return kNoAttributes;
    if (e->directory) return e->attributes | kAttributeDirectory;
    return e->attributes == 0 ? 128u /* FILE_ATTRIBUTE_NORMAL */ : e->attributes;
}

bool FakeFileSystem::parentIsDirectory(const std::string& key) const {
    const auto it = tree_.find(parentOf(key));
    return it != tree_.end() && it->second.directory;
}

bool FakeFileSystem::logCall(const std::string& line, bool canFail) {
    const bool fail = canFail && static_cast<int>(calls_.size()) == failAt_;
    calls_.push_back(line);
    return !fail;
}

bool FakeFileSystem::copyFile(const std::string& source, const std::string& destination) {
    if (!logCall("copyFile(" + source + "," + destination + ")")) return false;
    const Entry* from = find(source);
    if (!from || from->directory) return false;
    const std::string key = normalise(destination);
    if (!parentIsDirectory(key)) return false;
    Entry* to = findMutable(destination);
    if (to && (to->directory || (to->attributes & kRefuseOverwrite))) return false;
    Entry copy = *from;
    copy.name = to ? to->name : lastPart(destination);
    tree_[key] = copy;
    return true;
}

bool FakeFileSystem::deleteFile(const std::string& path) {
    if (!logCall("deleteFile(" + path + ")")) return false;
    const Entry* e = find(path);
    if (!e || e->directory || (e->attributes & kAttributeReadOnly)) return false;
    tree_.erase(normalise(path));
    return true;
}

bool FakeFileSystem::pathExists(const std::string& path) {
    if (!logCall("pathExists(" + path + ")")) return false;
    const std::string key = normalise(path);
    const std::string pattern = lastPart(key);
    const std::string parent = parentOf(key);
    for (const auto& [entryKey, entry] : tree_) {
        if (parentOf(entryKey) == parent &&
            wildcardMatch(pattern.c_str(), lastPart(entryKey).c_str())) {
            return true;
        }
    }
    return false;
}

bool FakeFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    if (!logCall("setAttributes(" + path + "," + std::to_string(attributes) + ")")) return false;
    Entry* e = findMutable(path);
    if (!e) return false;
    e->attributes = attributes & kSettableAttributes;
    return true;
}

bool FakeFileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
    attributes = kNoAttributes;
    if (!logCall("getAttributes(" + path + ")")) return false;
    attributes = attributesOf(path);
    return true;
}

FileNumber FakeFileSystem::openForRewrite(const std::string& path) {
    if (path.empty()) return kNoFile;
    if (!logCall("openForRewrite(" + path + ")")) return kNoFile;
    const std::string key = normalise(path);
    if (!parentIsDirectory(key)) return kNoFile;
    Entry* e = findMutable(path);
    if (e && (e->directory || (e->attributes & kRefuseCreateAlways))) return kNoFile;
    // CREATE_ALWAYS empties the file and leaves it with the archive attribute.
    tree_[key] = Entry{e ? e->name : lastPart(path), false, kAttributeArchive, {}};
    const FileNumber file = nextFile_++;
    open_[file] = key;
    return file;
}

bool FakeFileSystem::writeText(FileNumber file, const std::string& text) {
    const auto it = open_.find(file);
    if (it == open_.end()) return false;
    if (!logCall("writeText(" + std::to_string(file) + "," + std::to_string(text.size()) + ")")) {
        return false;
    }
    const auto entry = tree_.find(it->second);
    if (entry == tree_.end()) return false;
    entry->second.content.append(text.c_str(), std::strlen(text.c_str()));
    return true;
}

void FakeFileSystem::closeFile(FileNumber file) {
    const auto it = open_.find(file);
    if (it == open_.end()) return;
    logCall("closeFile(" + std::to_string(file) + ")", false);  // has no result to fail
    open_.erase(it);
}

bool FakeFileSystem::readFile(const std::string& path, std::string& bytes) {
    if (!logCall("readFile(" + path + ")")) return false;
    const Entry* e = find(path);
    if (!e || e->directory) return false;
    bytes = e->content;
    return true;
}

void FakeFileSystem::folderChanged(const std::string& folder) { notified_.push_back(folder); }

}  // namespace kelvaro::fakes
