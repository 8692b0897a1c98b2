#include "desktop_ini_merge.h"

#include "ansi_text.h"
#include "desktop_ini.h"

namespace kelvaro {
namespace {

constexpr const char* kShellSection = ".ShellClassInfo";
constexpr const char* kViewSection = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";
constexpr const char* kBackgroundLine = "IconArea_Image = tavik.jpg";
constexpr const char* kCrLf = "\r\n";

// Stands for a UTF-16 character outside ASCII. It is no GBK lead byte, matches
// no name, and a line holding it is never written out.
constexpr char kForeignChar = '\x80';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool isBlankLine(const std::string& text) { return trim(text).empty(); }

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The key and value of a "key = value" line. Windows drops the quotes around a
// quoted value, so "tavik.ico" in quotes still names Kelvaro's file.
bool splitKey(const std::string& text, std::string& key, std::string& value) {
    const std::string line = trim(text);
    if (line.empty() || line[0] == ';') return false;
    const std::size_t equals = line.find('=');  // '=' is never a GBK trail byte
    if (equals == std::string::npos) return false;
    key = trim(line.substr(0, equals));
    value = trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

bool isKey(const std::string& key, const char* name) { return equalIgnoringAsciiCase(key, name); }

// The lines of composeDesktopIni's result, without their line ends.
std::vector<std::string> composedLines(const FolderPersonalization& request) {
    const std::string text = composeDesktopIni(request);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(kCrLf, start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

ExistingDesktopIni::ExistingDesktopIni(const std::string& bytes) {
    parse(bytes);
    if (!readable_) {
        sections_.clear();
        return;
    }
    own_ = findOwn();
    if (!utf16_) {
        restoreBytes_ = bytes;
        return;
    }
    // Only ASCII lines can be written back as ANSI. The others are values of
    // Kelvaro's keys that this request replaces or removes: a line to be kept
    // that is not ASCII refuses the whole file first.
    bool first = true;
    for (const Section& section : sections_) {
        std::vector<const Line*> lines;
        if (section.hasHeader) lines.push_back(&section.header);
        for (const Line& line : section.lines) lines.push_back(&line);
        for (const Line* line : lines) {
            if (!line->carriable) continue;
            if (!first) restoreBytes_ += kCrLf;
            restoreBytes_ += line->text;
            first = false;
        }
    }
    if (!first && finalLineEnd_) restoreBytes_ += kCrLf;
}

void ExistingDesktopIni::parse(const std::string& bytes) {
    std::string text;
    if (startsWith(bytes, "\xFF\xFE")) {
        if (bytes.size() % 2 != 0) return;
        utf16_ = true;
        for (std::size_t i = 2; i < bytes.size(); i += 2) {
            const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8;
            if (unit == 0) return;
            text += unit < 0x80 ? static_cast<char>(unit) : kForeignChar;
        }
    } else if (startsWith(bytes, "\xEF\xBB\xBF") || startsWith(bytes, "\xFE\xFF")) {
        return;
    } else {
        if (bytes.find('\0') != std::string::npos) return;
        text = bytes;
    }

    sections_.assign(1, Section{});
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        std::size_t end = lf == std::string::npos ? text.size() : lf;
        if (lf != std::string::npos && end > start && text[end - 1] == '\r') --end;
        Line line{text.substr(start, end - start), true};
        if (line.text.find('\r') != std::string::npos) return;
        if (utf16_) line.carriable = line.text.find(kForeignChar) == std::string::npos;

        const std::string trimmed = trim(line.text);
        if (!trimmed.empty() && trimmed[0] == '[') {
            const std::size_t close = trimmed.rfind(']');
            if (close == std::string::npos) return;
            Section section;
            section.hasHeader = true;
            section.name = trim(trimmed.substr(1, close - 1));
            section.header = line;
            sections_.push_back(section);
        } else {
            sections_.back().lines.push_back(line);
        }

        if (lf == std::string::npos) {
            finalLineEnd_ = false;
            break;
        }
        start = lf + 1;
    }
    readable_ = true;
}

bool ExistingDesktopIni::findOwn() const {
    std::vector<std::string> texts;
    FolderPersonalization guess;
    for (const Section& section : sections_) {
        if (section.hasHeader) texts.push_back(section.header.text);
        for (const Line& line : section.lines) {
            if (!isBlankLine(line.text)) texts.push_back(line.text);
        }
    }
    for (const std::string& text : texts) {
        if (text == "IconFile = tavik.ico") guess.iconSource = "tavik.ico";
        if (startsWith(text, DesktopIniComposer::kTipKey)) {
            guess.infoTip = text.substr(std::char_traits<char>::length(DesktopIniComposer::kTipKey));
        }
        if (text == kBackgroundLine) guess.backgroundSource = "tavik.jpg";
    }
    return texts.empty() || composedLines(guess) == texts;
}

std::vector<ExistingDesktopIni::Line> ExistingDesktopIni::keptLines(const Section& section,
                                                                    const Drops& drops,
                                                                    bool& dropped) const {
    const bool shell = equalIgnoringAsciiCase(section.name, kShellSection);
    const bool view = equalIgnoringAsciiCase(section.name, kViewSection);
    if (!section.hasHeader || (!shell && !view)) return section.lines;

    // An IconIndex goes with IconFile = tavik.ico only when no other IconFile in
    // the section could be the one it belongs to.
    bool ourIconFile = false;
    bool otherIconFile = false;
    std::string key;
    std::string value;
    for (const Line& line : section.lines) {
        if (shell && splitKey(line.text, key, value) && isKey(key, "IconFile")) {
            (equalIgnoringAsciiCase(value, "tavik.ico") ? ourIconFile : otherIconFile) = true;
        }
    }
    const bool dropIndex = drops.iconKeys || (ourIconFile && !otherIconFile);

    std::vector<Line> kept;
    for (const Line& line : section.lines) {
        bool drop = false;
        if (splitKey(line.text, key, value)) {
            if (shell) {
                drop = (isKey(key, "IconFile") &&
                        (drops.iconKeys || equalIgnoringAsciiCase(value, "tavik.ico"))) ||
                       (isKey(key, "IconIndex") && dropIndex) ||
                       // Windows reads IconResource before IconFile: an old one
                       // would hide the new icon.
                       (isKey(key, "IconResource") && drops.iconKeys) ||
                       (isKey(key, "InfoTip") && drops.tipKeys);
            } else {
                drop = isKey(key, "IconArea_Image") &&
                       (drops.backgroundKeys || equalIgnoringAsciiCase(value, "tavik.jpg"));
            }
        }
        if (drop) {
            dropped = true;
        } else {
            kept.push_back(line);
        }
    }
    return kept;
}

namespace {

template <typename Lines>
bool allCarriable(const Lines& lines) {
    for (const auto& line : lines) {
        if (!line.carriable) return false;
    }
    return true;
}

template <typename Lines>
bool hasContent(const Lines& lines) {
    for (const auto& line : lines) {
        if (!isBlankLine(line.text)) return true;
    }
    return false;
}

template <typename Lines>
void appendLines(std::string& text, const Lines& lines) {
    for (const auto& line : lines) {
        text += line.text;
        text += kCrLf;
    }
}

}  // namespace

bool ExistingDesktopIni::merge(const FolderPersonalization& request, std::string& merged) const {
    if (!readable_) return false;
    const std::string composed = composeDesktopIni(request);
    if (own_) {
        merged = composed;
        return true;
    }

    const bool icon = isPresent(request.iconSource);
    const bool tip = isPresent(request.infoTip);
    const bool background = isPresent(request.backgroundSource);
    const Drops drops{icon, tip, background};

    // Kelvaro's two sections take up the lines of every section of their name,
    // in the old order; every other section follows as it was.
    std::vector<Line> shellLines;
    std::vector<Line> viewLines;
    std::vector<Line> otherSections;
    bool dropped = false;
    for (std::size_t i = 1; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        const std::vector<Line> kept = keptLines(section, drops, dropped);
        if (equalIgnoringAsciiCase(section.name, kShellSection)) {
            shellLines.insert(shellLines.end(), kept.begin(), kept.end());
        } else if (equalIgnoringAsciiCase(section.name, kViewSection)) {
            viewLines.insert(viewLines.end(), kept.begin(), kept.end());
        } else {
            otherSections.push_back(section.header);
            otherSections.insert(otherSections.end(), kept.begin(), kept.end());
        }
    }
    const std::vector<Line>& preamble = sections_[0].lines;

    if (!allCarriable(preamble) || !allCarriable(shellLines) || !allCarriable(viewLines) ||
        !allCarriable(otherSections)) {
        return false;
    }
    // Nothing of the old file is left to keep: the file is Kelvaro's alone.
    if (!hasContent(preamble) && !hasContent(shellLines) && !hasContent(viewLines) &&
        otherSections.empty()) {
        merged = composed;
        return true;
    }

    std::string text;
    appendLines(text, preamble);
    text += DesktopIniComposer::kHeader;
    if (icon) text += DesktopIniComposer::kIconLines;
    if (tip) {
        text += DesktopIniComposer::kTipKey;
        text += DesktopIniComposer::tipLineValue(request.infoTip);
        text += kCrLf;
    }
    appendLines(text, shellLines);
    if (background || hasContent(viewLines)) {
        text += std::string("[") + kViewSection + "]" + kCrLf;
        if (background) text += std::string(kBackgroundLine) + kCrLf;
        appendLines(text, viewLines);
    }
    appendLines(text, otherSections);
    merged = text;
    return true;
}

ExistingDesktopIni::Cleaning ExistingDesktopIni::clean(std::string& cleaned) const {
    if (!readable_) return Cleaning::refused;
    if (own_) return Cleaning::remove;

    const Drops drops{false, true, false};  // every InfoTip is Kelvaro's to remove
    std::string text;
    bool content = false;
    bool dropped = false;
    bool carriable = true;
    for (const Section& section : sections_) {
        const bool ours = equalIgnoringAsciiCase(section.name, kShellSection) ||
                          equalIgnoringAsciiCase(section.name, kViewSection);
        const std::vector<Line> kept = keptLines(section, drops, dropped);
        // One of Kelvaro's sections left without a line goes as well.
        if (section.hasHeader && ours && !hasContent(kept)) {
            dropped = true;
            continue;
        }
        if (section.hasHeader) {
            carriable = carriable && section.header.carriable;
            content = true;
            text += section.header.text;
            text += kCrLf;
        }
        carriable = carriable && allCarriable(kept);
        content = content || hasContent(kept);
        appendLines(text, kept);
    }
    if (!dropped) return Cleaning::keep;
    if (!carriable) return Cleaning::refused;
    if (!content) return Cleaning::remove;
    cleaned = text;
    return Cleaning::rewrite;
}

}  // namespace kelvaro
