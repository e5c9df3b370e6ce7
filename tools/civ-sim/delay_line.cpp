// A network link's delay, one way.
#include "delay_line.h"

namespace civsim {

DelayLine::DelayLine(std::chrono::milliseconds low, std::chrono::milliseconds high,
                     std::uint32_t seed)
    : delay_(low.count(), high.count())
    , rng_(seed)
{}

void DelayLine::push(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    if (bytes.empty()) {
        return;
    }
    // A chunk held less than the one before still waits for it at take().
    chunks_.push_back(
        {now + std::chrono::milliseconds(delay_(rng_)), Bytes(bytes.begin(), bytes.end())});
}

Bytes DelayLine::take(Clock::time_point now)
{
    Bytes out;
    while (!chunks_.empty() && chunks_.front().due <= now) {
        out.insert(out.end(), chunks_.front().bytes.begin(), chunks_.front().bytes.end());
        chunks_.pop_front();
    }
    return out;
}

std::optional<DelayLine::Clock::time_point> DelayLine::nextDue() const
{
    if (chunks_.empty()) {
        return std::nullopt;
    }
    return chunks_.front().due;
}

} // namespace civsim
