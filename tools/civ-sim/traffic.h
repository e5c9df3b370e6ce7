// Load for the line: other stations' traffic, noise bursts, and the time bytes take.
#pragma once

#include "frame.h"
#include "radio.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace civsim {

// Valid traffic that keeps a line busy: two other stations talking to each other,
// interleaved with unsolicited frequency reports from our radios to the controller.
class FloodSource {
public:
    FloodSource(std::uint8_t controller, const std::vector<Radio>& radios);

    Frame next(const std::vector<Radio>& radios);

    std::uint8_t stationA() const { return stationA_; }
    std::uint8_t stationB() const { return stationB_; }

private:
    std::uint8_t controller_;
    std::uint8_t stationA_ = 0;
    std::uint8_t stationB_ = 0;
    std::uint64_t step_ = 0;
};

// A short burst of line noise that can neither start nor end nor jam a frame.
Bytes noiseBurst(std::mt19937& rng);

// Time the line needs to carry `bytes` at `baud`, ten bits per byte.
std::chrono::nanoseconds lineTime(std::size_t bytes, int baud);

} // namespace civsim
