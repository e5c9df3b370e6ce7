// Packed BCD, both ways: the window's lenient reading, and strict readings that refuse a digit
// above 9.
#pragma once

#include "civ/frame.h"

#include <cstdint>
#include <optional>
#include <span>

namespace civ {

// Packed BCD byte of 0..99: tens in the high nibble.
constexpr std::uint8_t Convert(int n)
{
    const int tens = n / 10;
    return static_cast<std::uint8_t>(tens * 16 + (n - tens * 10));
}

// Lenient: nibbles above 9 are not rejected, they simply add their value, so 0xFF gives 165.
constexpr int ConvertBack(int b)
{
    const int high = b / 16;
    return high * 10 + (b - high * 16);
}

// Lenient: the frequency of a 0x03 reply in kHz, as the main window shows it. Exactly four
// data bytes use the four-byte scale; any other count is scaled as the five-byte form.
template <class Byte> double ParseFreq(std::span<const Byte> msg)
{
    // The most significant pair arrives last, so each step shifts the earlier digits down.
    double f = 0.0;
    for (const Byte byte : msg) {
        f = f / 100 + ConvertBack(byte);
    }
    return msg.size() == 4 ? f * 1000 : f * 100000;
}

// Strict: 0..99, or nothing when a nibble is not a digit.
std::optional<int> bcdByte(std::uint8_t b);

// Strict: the exact Hz of a 4, 5 or 6-byte frequency, least significant pair first; nothing
// for another length or a nibble that is not a digit.
std::optional<std::int64_t> frequencyHz(std::span<const std::uint8_t> data);

// Strict: a number sent most significant pair first, as levels and channels are.
std::optional<std::uint64_t> bcdNumber(std::span<const std::uint8_t> data);

// Digit pairs of a frequency in Hz, least significant first, as packed BCD bytes. byteCount is
// 4 or 5; anything else counts as 4.
Frame frequencyBcd(std::int64_t hz, int byteCount);

} // namespace civ
