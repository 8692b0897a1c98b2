// The desktop.ini text that points Explorer at the folder's icon, tip and picture.
#pragma once

#include <string>

#include "folder_personalization.h"

namespace kelvaro {

struct DesktopIniComposer {
    static constexpr const char* kHeader = "[.ShellClassInfo]\r\n";
    static constexpr const char* kIconLines = "IconFile = tavik.ico\r\nIconIndex = 0\r\n";
    static constexpr const char* kTipKey = "InfoTip=";
    static constexpr const char* kLineEnd = "\r\n";
    static constexpr const char* kBackgroundSection =
        "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Image = tavik.jpg";

    // The whole file for this request. Reads only which of iconSource, infoTip and
    // backgroundSource are present, and the bytes of infoTip.
    static std::string compose(const FolderPersonalization& request);

    // The tip as it goes into the file: CR and LF would start new lines of the
    // file, so each becomes a blank. Every other byte is kept.
    static std::string tipLineValue(const std::string& infoTip);
};

inline std::string composeDesktopIni(const FolderPersonalization& request) {
    return DesktopIniComposer::compose(request);
}

}  // namespace kelvaro
