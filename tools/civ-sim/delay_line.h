// A network link's delay, one way: chunks come out in the order they went in.
#pragma once

#include "frame.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <span>

namespace civsim {

class DelayLine {
public:
    using Clock = std::chrono::steady_clock;

    // Each chunk is held for a time from low to high, at random, and never passes one before it.
    DelayLine(std::chrono::milliseconds low, std::chrono::milliseconds high, std::uint32_t seed);

    void push(std::span<const std::uint8_t> bytes, Clock::time_point now);
    // The bytes due by now, oldest first.
    Bytes take(Clock::time_point now);
    // When the oldest chunk is due.
    std::optional<Clock::time_point> nextDue() const;
    void clear() { chunks_.clear(); }

private:
    struct Chunk {
        Clock::time_point due;
        Bytes bytes;
    };

    std::uniform_int_distribution<std::chrono::milliseconds::rep> delay_;
    std::mt19937 rng_;
    std::deque<Chunk> chunks_;
};

} // namespace civsim
