// The simulator's CI-V frames: their fields, their codes, and their bytes as hex.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace civsim {

inline constexpr std::uint8_t kPreamble = 0xFE;
inline constexpr std::uint8_t kEndOfMessage = 0xFD;
inline constexpr std::uint8_t kJam = 0xFC;
inline constexpr std::uint8_t kOk = 0xFB;
inline constexpr std::uint8_t kNg = 0xFA;
inline constexpr std::uint8_t kBroadcast = 0x00;

using Bytes = std::vector<std::uint8_t>;

struct Frame {
    std::uint8_t dest = 0;
    std::uint8_t src = 0;
    std::uint8_t cmd = 0;
    Bytes data;

    Bytes encode() const;
    bool operator==(const Frame&) const = default;
};

// Upper-case hex bytes separated by single spaces, e.g. "FE FE 08 E0 03 FD".
std::string toHex(std::span<const std::uint8_t> bytes);

} // namespace civsim
