// Frequencies to and from packed BCD, and the highest that fits in a number of bytes.
#include "bcd.h"

namespace civsim {

std::uint64_t maxFrequency(int bytes)
{
    std::uint64_t limit = 1;
    for (int i = 0; i < bytes; ++i) {
        limit *= 100;
    }
    return limit - 1;
}

Bytes encodeFrequency(std::uint64_t hz, int bytes)
{
    Bytes out;
    out.reserve(static_cast<std::size_t>(bytes));
    for (int i = 0; i < bytes; ++i) {
        const auto pair = static_cast<std::uint8_t>(hz % 100);
        out.push_back(static_cast<std::uint8_t>((pair / 10) << 4 | pair % 10));
        hz /= 100;
    }
    return out;
}

std::optional<std::uint64_t> decodeFrequency(std::span<const std::uint8_t> data)
{
    std::uint64_t hz = 0;
    for (auto it = data.rbegin(); it != data.rend(); ++it) {
        const unsigned high = *it >> 4;
        const unsigned low = *it & 0x0F;
        if (high > 9 || low > 9) {
            return std::nullopt;
        }
        hz = hz * 100 + std::uint64_t{high} * 10 + low;
    }
    return hz;
}

} // namespace civsim
