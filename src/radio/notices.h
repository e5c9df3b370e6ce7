#pragma once

#include <array>
#include <string>

namespace radio {

// Kinds of status-bar notice, the most important first.
enum class Notice { LostPort, RefusedInput, Refusal, Silence, Info };

// The notices that hold now, one text per kind; only the most important one is shown, so
// clearing one never wipes another.
class Notices {
public:
    // Both return whether anything changed. An empty text clears.
    bool set(Notice kind, std::string text);
    bool clear(Notice kind) { return set(kind, {}); }

    // Empty when no notice holds.
    const std::string& shown() const;

private:
    std::array<std::string, 5> texts_;
};

} // namespace radio
