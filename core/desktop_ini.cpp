#include "desktop_ini.h"

namespace kelvaro {

std::string DesktopIniComposer::tipLineValue(const std::string& infoTip) {
    std::string value = infoTip;
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return value;
}

std::string DesktopIniComposer::compose(const FolderPersonalization& request) {
    std::string text = kHeader;
    if (isPresent(request.iconSource)) text += kIconLines;
    if (isPresent(request.infoTip)) {
        text += kTipKey;
        text += tipLineValue(request.infoTip);
        text += kLineEnd;
    }
    if (isPresent(request.backgroundSource)) text += kBackgroundSection;
    return text;
}

}  // namespace kelvaro
