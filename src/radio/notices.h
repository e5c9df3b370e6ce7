// The status bar's notices by kind and rank, and the text and subject each carries.
#pragma once

#include <array>
#include <string>

namespace radio {

// Kinds of status-bar notice, the most important first: a present state of the port, the bus
// or the radio outranks an earlier event.
enum class Notice { Port, Busy, Silence, Refusal, RefusedInput, Info };

// A notice's text and its subject, the port or the radio it is about: where the text does not
// fit, the status bar keeps its first occurrence whole.
struct NoticeText {
    std::string text;
    std::string subject;

    friend bool operator==(const NoticeText&, const NoticeText&) = default;
};

// The notices that hold now, one per kind; only the most important one is shown, so clearing
// one never wipes another.
class Notices {
public:
    // Both return whether anything changed. An empty text clears.
    bool set(Notice kind, NoticeText notice);
    bool clear(Notice kind) { return set(kind, {}); }

    const std::string& text(Notice kind) const
    {
        return notices_.at(static_cast<std::size_t>(kind)).text;
    }
    // Empty when no notice holds.
    const NoticeText& shown() const;

private:
    std::array<NoticeText, 6> notices_;
};

} // namespace radio
