#include "text_helpers.h"

namespace kelvaro {

int compareText(TextPart a, TextPart b) {
    const auto* p = reinterpret_cast<const unsigned char*>(a.data());
    const auto* q = reinterpret_cast<const unsigned char*>(b.data());
    while (*p != 0 && *p == *q) {
        ++p;
        ++q;
    }
    if (*p == *q) return 0;
    return *p < *q ? -1 : 1;
}

std::string concatTexts(std::initializer_list<TextPart> parts) {
    std::size_t total = 0;
    for (const TextPart& part : parts) total += part.size();
    std::string joined;
    joined.reserve(total);
    for (const TextPart& part : parts) joined.append(part.data(), part.size());
    return joined;
}

}  // namespace kelvaro
