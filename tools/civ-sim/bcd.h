// Frequencies in packed BCD, as the simulated radios read and write them.
#pragma once

#include "frame.h"

#include <cstdint>
#include <optional>
#include <span>

namespace civsim {

// Highest frequency in Hz that fits in `bytes` bytes of packed BCD.
std::uint64_t maxFrequency(int bytes);

// Least-significant digit pair first, high nibble the more significant digit.
// The caller keeps `hz` within maxFrequency(bytes).
Bytes encodeFrequency(std::uint64_t hz, int bytes);

// Empty when a nibble is not a decimal digit.
std::optional<std::uint64_t> decodeFrequency(std::span<const std::uint8_t> data);

} // namespace civsim
