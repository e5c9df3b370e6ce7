// What replies carry, read and shown: the mode and filter, kHz, and a byte in hex.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace civ {

// Mode code + 256 * filter code; the filter counts as 0 when the reply carries only a mode.
// Requires at least one data byte.
int ParseMode(std::span<const int> msg);

// kHz as a plain decimal: no exponent, no floating-point noise, no trailing zeros
// (14074, 7123.45, 14074.123).
std::string formatKhz(double khz);

// A byte as two upper-case hex digits, as the bus's bytes are shown (0x94 -> "94").
std::string hexByte(int byte);

} // namespace civ
