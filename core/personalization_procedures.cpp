#include "personalization_procedures.h"

#include <vector>

#include "ansi_text.h"
#include "desktop_ini.h"
#include "desktop_ini_merge.h"

namespace kelvaro {
namespace {

// A file about to be replaced: what puts it back when its replacement fails.
struct OldFile {
    std::string bytes;
    std::uint32_t attributes = kNoAttributes;
};

// One run of Set or Clear on one folder. It remembers whether anything in the
// folder changed, so the shell is told once, also when a later step failed.
class FolderJob {
public:
    FolderJob(FileSystemOps& fs, NoticeService& notices, const std::string& folder)
        : fs_(fs), notices_(notices), folder_(folder) {}

    ~FolderJob() { flushChange(); }

    FolderJob(const FolderJob&) = delete;
    FolderJob& operator=(const FolderJob&) = delete;

    // What both procedures check first: a folder was entered (else the user is
    // sent to the help page) and it names an existing directory, whose
    // attributes are returned.
    bool start(std::uint32_t& folderAttributes) {
        if (!isPresent(folder_)) {
            notices_.showNotice(kMissingInfoText, NoticeKind::error, kErrorTitle);
            notices_.openWebPage(kUpdatePagePath);
            return false;
        }
        if (fs_.getAttributes(folder_, folderAttributes) && folderAttributes != kNoAttributes &&
            (folderAttributes & kAttributeDirectory) != 0) {
            return true;
        }
        return fail(kFolderMissingText, folder_);
    }

    // Copies source to destination. A placed file from an earlier Set is hidden
    // and system, which Windows will not copy over, so it is made plain first and
    // gets its attributes back when the copy still fails.
    bool place(const std::string& source, const std::string& destination) {
        // The user picked the very file that is already in place.
        if (equalIgnoringAsciiCase(source, destination)) return true;
        std::uint32_t old = kNoAttributes;
        if (!makePlain(destination, old)) return fail(kCopyFailedText, destination);
        if (fs_.copyFile(source, destination)) {
            changed_ = true;
            return true;
        }
        restore(destination, old);
        return fail(kCopyFailedText, destination);
    }

    enum class Removal { removed, absent, failed };

    // Deletes path, also when it is read-only. A file that stays gets its
    // attributes back; one that was never there is no failure.
    Removal remove(const std::string& path) {
        std::uint32_t old = kNoAttributes;
        if (!makePlain(path, old)) return Removal::failed;
        if (fs_.deleteFile(path)) {
            changed_ = true;
            return Removal::removed;
        }
        if (old == kNoAttributes) return Removal::absent;
        restore(path, old);
        return Removal::failed;
    }

    // Creates path holding exactly text. When that fails, the file that was
    // deleted to make room for it is written back (old), or else a file that
    // could not be written completely is deleted again.
    bool writeNewFile(const std::string& path, const std::string& text,
                      const OldFile* old = nullptr) {
        const FileNumber file = fs_.openForRewrite(path);
        bool written = false;
        if (file != kNoFile) {
            changed_ = true;
            written = fs_.writeText(file, text);
            fs_.closeFile(file);
        }
        if (written) return true;
        if (old) {
            putBack(path, *old);
        } else if (file != kNoFile) {
            fs_.deleteFile(path);
        }
        return fail(kWriteFailedText, path);
    }

    // Reads the existing desktop.ini at path, which has the given attributes. A
    // directory of that name, or a file that cannot be read, is reported.
    bool readExisting(const std::string& path, std::uint32_t attributes, std::string& bytes) {
        if ((attributes & kAttributeDirectory) != 0 || !fs_.readFile(path, bytes)) {
            return fail(kCannotKeepIniText, path);
        }
        return true;
    }

    bool setAttributes(const std::string& path, std::uint32_t attributes) {
        if (!fs_.setAttributes(path, attributes)) return fail(kAttributesFailedText, path);
        changed_ = true;
        return true;
    }

    // Like setAttributes, for tavik.ico and tavik.jpg, which are rightly absent
    // when the request had no icon or picture.
    bool setAttributesIfThere(const std::string& path, std::uint32_t attributes) {
        if (fs_.setAttributes(path, attributes)) {
            changed_ = true;
            return true;
        }
        std::uint32_t now = 0;
        if (fs_.getAttributes(path, now) && now == kNoAttributes) return true;
        return fail(kAttributesFailedText, path);
    }

    bool fail(const char* text, const std::string& path) {
        failWith(text + path);
        return false;
    }

    void failWith(const std::string& message) {
        flushChange();
        notices_.showNotice(message, NoticeKind::error, kErrorTitle);
    }

    void succeed(const char* text) {
        flushChange();
        notices_.showNotice(text, NoticeKind::information, kInformationTitle);
    }

private:
    // The shell hears of a change before any notice is shown, so Explorer is
    // already redrawn while the user reads it.
    void flushChange() {
        if (changed_) fs_.folderChanged(folder_);
        changed_ = false;
    }

    // Gives an existing file plain attributes and reports its old ones
    // (kNoAttributes when there is no such file).
    bool makePlain(const std::string& path, std::uint32_t& old) {
        if (!fs_.getAttributes(path, old)) return false;
        if (old == kNoAttributes) return true;
        if (!fs_.setAttributes(path, kPlainFileAttributes)) return false;
        changed_ = true;
        return true;
    }

    void restore(const std::string& path, std::uint32_t old) {
        if (old != kNoAttributes) fs_.setAttributes(path, old & kSettableAttributes);
    }

    void putBack(const std::string& path, const OldFile& old) {
        const FileNumber file = fs_.openForRewrite(path);
        if (file == kNoFile) return;
        const bool written = fs_.writeText(file, old.bytes);
        fs_.closeFile(file);
        if (written) restore(path, old.attributes);
    }

    FileSystemOps& fs_;
    NoticeService& notices_;
    const std::string& folder_;
    bool changed_ = false;
};

}  // namespace

void applyPersonalization(const FolderPersonalization& request, FileSystemOps& fs,
                          NoticeService& notices) {
    const std::string& folder = request.folder;
    FolderJob job(fs, notices, folder);
    std::uint32_t folderAttributes = 0;
    if (!job.start(folderAttributes)) return;

    std::string iniText = composeDesktopIni(request);
    const std::string iconPath = folder + kIconSuffix;
    const std::string backgroundPath = folder + kBackgroundSuffix;
    const std::string probePath = folder + kDesktopIniProbeSuffix;
    const std::string iniPath = folder + kDesktopIniSuffix;

    // A desktop.ini that is there already may hold settings that are not ours (a
    // special folder's translated name, another program's view). It is read and
    // merged before anything is touched, so a file that cannot be kept stops Set
    // with the folder as it was. Its attributes tell an absent file from one that
    // cannot be looked at.
    OldFile oldIni;
    if (!fs.getAttributes(probePath, oldIni.attributes)) {
        job.fail(kCannotKeepIniText, probePath);
        return;
    }
    const bool hadIni = oldIni.attributes != kNoAttributes;
    if (hadIni) {
        std::string bytes;
        if (!job.readExisting(probePath, oldIni.attributes, bytes)) return;
        const ExistingDesktopIni existing(bytes);
        if (!existing.merge(request, iniText)) {
            job.fail(kCannotKeepIniText, probePath);
            return;
        }
        oldIni.bytes = existing.restoreBytes();
    }

    // Both copies come first, so desktop.ini never names a file that is not there.
    if (isPresent(request.iconSource) && !job.place(request.iconSource, iconPath)) return;
    if (isPresent(request.backgroundSource) &&
        !job.place(request.backgroundSource, backgroundPath)) {
        return;
    }

    const FolderJob::Removal removal = hadIni ? job.remove(probePath) : FolderJob::Removal::absent;
    if (removal == FolderJob::Removal::failed) {
        job.fail(kDeleteFailedText, probePath);
        return;
    }
    if (!job.writeNewFile(iniPath, iniText,
                          removal == FolderJob::Removal::removed ? &oldIni : nullptr)) {
        return;
    }

    // The folder keeps what it had (a hidden folder stays hidden) and gains the
    // system attribute that makes Explorer read desktop.ini.
    if (!job.setAttributes(folder, (folderAttributes & kSettableAttributes) | kFolderAttributes)) {
        return;
    }
    if (!job.setAttributes(iniPath, kPlacedFileAttributes)) return;
    if (!job.setAttributesIfThere(iconPath, kPlacedFileAttributes)) return;
    if (!job.setAttributesIfThere(backgroundPath, kPlacedFileAttributes)) return;

    job.succeed(kSetDoneText);
}

void clearPersonalization(const FolderPersonalization& request, FileSystemOps& fs,
                          NoticeService& notices) {
    const std::string& folder = request.folder;
    FolderJob job(fs, notices, folder);
    std::uint32_t folderAttributes = 0;
    if (!job.start(folderAttributes)) return;

    // A desktop.ini that holds more than Kelvaro's lines loses only those and is
    // written back; one that cannot be read or kept stops Clear before anything
    // is touched.
    const std::string iniPath = folder + kDesktopIniSuffix;
    OldFile oldIni;
    if (!fs.getAttributes(iniPath, oldIni.attributes)) {
        job.fail(kCannotKeepIniText, iniPath);
        return;
    }
    bool iniDone = false;
    if (oldIni.attributes != kNoAttributes && (oldIni.attributes & kAttributeDirectory) == 0) {
        std::string bytes;
        if (!job.readExisting(iniPath, oldIni.attributes, bytes)) return;
        const ExistingDesktopIni existing(bytes);
        std::string cleaned;
        switch (existing.clean(cleaned)) {
        case ExistingDesktopIni::Cleaning::refused:
            job.fail(kCannotKeepIniText, iniPath);
            return;
        case ExistingDesktopIni::Cleaning::keep:
            iniDone = true;
            break;
        case ExistingDesktopIni::Cleaning::rewrite: {
            oldIni.bytes = existing.restoreBytes();
            const FolderJob::Removal removal = job.remove(iniPath);
            if (removal == FolderJob::Removal::failed) {
                job.fail(kDeleteFailedText, iniPath);
                return;
            }
            if (!job.writeNewFile(iniPath, cleaned,
                                  removal == FolderJob::Removal::removed ? &oldIni : nullptr)) {
                return;
            }
            // Clear changes no attribute: the file keeps the ones it had.
            if (!job.setAttributes(iniPath, oldIni.attributes & kSettableAttributes)) return;
            iniDone = true;
            break;
        }
        case ExistingDesktopIni::Cleaning::remove:
            break;
        }
    }

    // Every delete is tried; only a file that stays is a failure.
    std::string failed;
    for (const char* suffix : {kDesktopIniSuffix, kIconSuffix, kBackgroundSuffix}) {
        const std::string path = folder + suffix;
        if (path == iniPath && iniDone) continue;
        if (job.remove(path) != FolderJob::Removal::failed) continue;
        failed += failed.empty() ? kDeleteFailedText : "\r\n";
        failed += path;
    }

    if (failed.empty()) {
        job.succeed(kClearDoneText);
    } else {
        job.failWith(failed);
    }
}

}  // namespace kelvaro
