#include "filter_text.h"

#include <vector>

#include "ansi_text.h"

namespace kelvaro {
namespace {

bool isBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Where each character of text begins.
std::vector<std::size_t> characterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
    }
    return starts;
}

}  // namespace

std::string prepareFilter(const std::string& filter) {
    std::string list = filter.substr(0, filter.find('\0'));

    std::vector<std::size_t> starts = characterStarts(list);
    while (!starts.empty() && isBlank(static_cast<unsigned char>(list[starts.back()]))) {
        list.resize(starts.back());
        starts.pop_back();
    }
    if (list.empty()) return list;

    const auto isBarAt = [&](std::size_t k) { return list[starts[k]] == '|'; };
    const std::size_t n = starts.size();
    if (!(n >= 2 && isBarAt(n - 1) && isBarAt(n - 2))) {
        list += "||";
        starts.push_back(list.size() - 2);
        starts.push_back(list.size() - 1);
    }
    for (std::size_t start : starts) {
        if (list[start] == '|') list[start] = '\0';
    }
    return list;
}

}  // namespace kelvaro
