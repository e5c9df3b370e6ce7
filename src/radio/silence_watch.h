#pragma once

#include <optional>
#include <string>

namespace radio {

// Counts the polls the radio leaves unanswered. Times are seconds since midnight, from the
// caller's clock.
class SilenceWatch {
public:
    void pollSent(int now);
    // An answer, a new port or rate, a search: counting starts afresh.
    void clear() { unanswered_ = 0; }

    // When the two polls before the latest one both went unanswered: the time of the first.
    std::optional<int> silentSince() const;

private:
    int unanswered_ = 0;
    int firstUnanswered_ = 0;
};

// "No answer from radio 8 at 9600 bit/s since 14:03:05: check rate, address, cable and power"
std::string silenceText(int radio, int bitsPerSecond, int since);

} // namespace radio
