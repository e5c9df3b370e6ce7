#pragma once

#include <array>
#include <string>

namespace radio {

// Kinds of status-bar notice, the most important first: a present state of the port, the bus
// or the radio outranks an earlier event.
enum class Notice { Port, Busy, Silence, Refusal, RefusedInput, Info };

// The notices that hold now, one text per kind; only the most important one is shown, so
// clearing one never wipes another.
class Notices {
public:
    // Both return whether anything changed. An empty text clears.
    bool set(Notice kind, std::string text);
    bool clear(Notice kind) { return set(kind, {}); }

    const std::string& text(Notice kind) const { return texts_.at(static_cast<std::size_t>(kind)); }
    // Empty when no notice holds.
    const std::string& shown() const;

private:
    std::array<std::string, 6> texts_;
};

} // namespace radio
