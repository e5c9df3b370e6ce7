#include "radio/silence_watch.h"

#include <array>
#include <cstdio>

namespace radio {

namespace {
// Two unanswered polls, and the one that finds them so.
constexpr int kSilentAfterPolls = 3;
} // namespace

void SilenceWatch::pollSent(int now)
{
    if (unanswered_ == 0) {
        firstUnanswered_ = now;
    }
    if (unanswered_ < kSilentAfterPolls) {
        ++unanswered_;
    }
}

std::optional<int> SilenceWatch::silentSince() const
{
    if (unanswered_ < kSilentAfterPolls) {
        return std::nullopt;
    }
    return firstUnanswered_;
}

std::string silenceText(int radio, int bitsPerSecond, int since)
{
    std::array<char, 16> time{};
    std::snprintf(time.data(), time.size(), "%02d:%02d:%02d", since / 3600 % 24, since / 60 % 60,
                  since % 60);
    return "No answer from radio " + std::to_string(radio) + " at " +
           std::to_string(bitsPerSecond) + " bit/s since " + time.data() +
           ": check rate, address, cable and power";
}

} // namespace radio
