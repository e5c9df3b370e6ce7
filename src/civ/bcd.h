#pragma once

#include <cstdint>

namespace civ {

// Packed BCD byte of 0..99: tens in the high nibble.
constexpr std::uint8_t Convert(int n)
{
    const int tens = n / 10;
    return static_cast<std::uint8_t>(tens * 16 + (n - tens * 10));
}

// Value of a packed BCD byte. Nibbles above 9 are not rejected: they simply add their value,
// so 0xFF gives 165.
constexpr int ConvertBack(int b)
{
    const int high = b / 16;
    return high * 10 + (b - high * 16);
}

} // namespace civ
