// A NoticeService that records what the user would have seen.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "notice_service.h"

namespace kelvaro::fakes {

class RecordingNoticeService : public NoticeService {
public:
    struct Event {
        enum Type { notice, page } type;
        std::string text;  // notice text, or page path
        NoticeKind kind = NoticeKind::information;
        std::string title;
        bool operator==(const Event& o) const {
            return type == o.type && text == o.text && kind == o.kind && title == o.title;
        }
    };

    void showNotice(const std::string& text, NoticeKind kind, const std::string& title) override {
        events.push_back({Event::notice, text, kind, title});
    }
    void openWebPage(const std::string& path) override {
        events.push_back({Event::page, path, NoticeKind::information, {}});
    }
    [[noreturn]] void reportFatalError(const std::string&) override { std::abort(); }

    static Event error(const std::string& text, const std::string& title) {
        return {Event::notice, text, NoticeKind::error, title};
    }
    static Event information(const std::string& text, const std::string& title) {
        return {Event::notice, text, NoticeKind::information, title};
    }
    static Event page(const std::string& path) {
        return {Event::page, path, NoticeKind::information, {}};
    }

    std::vector<Event> events;
};

}  // namespace kelvaro::fakes
