// A desktop.ini that is already in the folder: what of it is Kelvaro's, and what
// Set and Clear must leave as it was (a special folder's translated name, another
// program's view settings).
#pragma once

#include <string>
#include <vector>

#include "folder_personalization.h"

namespace kelvaro {

// How the file is read:
// - An ANSI file (no byte-order mark) is taken byte for byte. A zero byte makes
//   it unreadable: the writer stops at the first zero byte, so such a file could
//   be neither merged nor put back.
// - A UTF-16LE file (FF FE) is read as ASCII lines; a line holding any other
//   character can be dropped but never carried over, since texts are never
//   converted from Unicode. An odd length or a zero character makes it unreadable.
// - Any other byte-order mark (UTF-8, UTF-16BE) makes it unreadable.
// - Lines end at LF, with or without CR before it. A CR anywhere else makes the
//   file unreadable: Windows may or may not start a line there, so its lines
//   could not be told apart for sure. So does a line that starts a section with
//   '[' but has no ']'.
// - Blanks and tabs around section names, keys and values are not part of them,
//   nor are the quotes around a quoted value; names and keys compare without
//   regard to ASCII case. A line starting with ';' is a comment, never a key.
// Comments, blank lines and anything else that is not one of Kelvaro's keys are
// carried over unchanged.
class ExistingDesktopIni {
public:
    explicit ExistingDesktopIni(const std::string& bytes);

    bool readable() const { return readable_; }

    // Holds nothing but lines that composeDesktopIni could have written, in its
    // order (blank lines aside): the file is Kelvaro's own.
    bool isOwn() const { return own_; }

    // The desktop.ini that Set writes in place of this one. False, with merged
    // untouched, when the file is unreadable or a line to be kept cannot be
    // carried over. Kelvaro's own file gives composeDesktopIni's bytes. Any other
    // loses the keys this request writes, IconResource when it has an icon (it
    // would hide the new one), and the lines naming tavik.ico (with its
    // IconIndex) or tavik.jpg that the request no longer writes. What stays is
    // laid out as: the lines before any section; [.ShellClassInfo] with Kelvaro's
    // lines, then the other lines of every section of that name in their order;
    // the view section likewise, left out when it would be empty; every other
    // section as it was. Each line then ends in CR LF; only when nothing but
    // blank lines stays is the result composeDesktopIni's bytes exactly.
    bool merge(const FolderPersonalization& request, std::string& merged) const;

    enum class Cleaning {
        refused,  // unreadable, or a line to be kept cannot be carried over
        keep,     // holds nothing of Kelvaro's: the file stays as it is
        rewrite,  // cleaned holds what remains
        remove,   // Kelvaro's own, or nothing but blank lines remains
    };
    // What Clear does with the file: it loses IconFile = tavik.ico with its
    // IconIndex, every InfoTip of [.ShellClassInfo] and IconArea_Image =
    // tavik.jpg. Everything else stays where it was, each line ending in CR LF;
    // a section of Kelvaro's left without a line but blanks goes.
    Cleaning clean(std::string& cleaned) const;

    // The content that puts the file back when writing its replacement failed:
    // the old bytes of an ANSI file; the ASCII lines of a UTF-16 file, as ANSI.
    const std::string& restoreBytes() const { return restoreBytes_; }

private:
    struct Line {
        std::string text;        // without its line end
        bool carriable = true;   // false: a UTF-16 line with non-ASCII characters
    };
    struct Section {
        bool hasHeader = false;  // false: the lines before the first section
        std::string name;        // trimmed, as written
        Line header;
        std::vector<Line> lines;
    };
    // Which of Kelvaro's keys go, besides the lines naming tavik.ico and tavik.jpg.
    struct Drops {
        bool iconKeys;        // IconFile, IconIndex and IconResource
        bool tipKeys;         // InfoTip
        bool backgroundKeys;  // IconArea_Image
    };

    void parse(const std::string& bytes);
    bool findOwn() const;
    std::vector<Line> keptLines(const Section& section, const Drops& drops, bool& dropped) const;

    bool readable_ = false;
    bool own_ = false;
    bool utf16_ = false;
    bool finalLineEnd_ = true;
    std::vector<Section> sections_;  // sections_[0] holds the lines before any section
    std::string restoreBytes_;
};

}  // namespace kelvaro
