// The strict packed-BCD readers and the frequency writer.
#include "civ/bcd.h"

namespace civ {

std::optional<int> bcdByte(std::uint8_t b)
{
    const int high = b >> 4;
    const int low = b & 0x0F;
    if (high > 9 || low > 9) {
        return std::nullopt;
    }
    return high * 10 + low;
}

std::optional<std::int64_t> frequencyHz(std::span<const std::uint8_t> data)
{
    if (data.size() < 4 || data.size() > 6) {
        return std::nullopt;
    }
    std::int64_t hz = 0;
    std::int64_t scale = 1;
    for (const std::uint8_t b : data) {
        const auto pair = bcdByte(b);
        if (!pair) {
            return std::nullopt;
        }
        hz += *pair * scale;
        scale *= 100;
    }
    return hz;
}

std::optional<std::uint64_t> bcdNumber(std::span<const std::uint8_t> data)
{
    std::uint64_t n = 0;
    for (const std::uint8_t b : data) {
        const auto pair = bcdByte(b);
        if (!pair) {
            return std::nullopt;
        }
        n = n * 100 + static_cast<std::uint64_t>(*pair);
    }
    return n;
}

Frame frequencyBcd(std::int64_t hz, int byteCount)
{
    const int bytes = byteCount == 5 ? 5 : 4;
    Frame out;
    out.reserve(static_cast<std::size_t>(bytes));
    for (int i = 0; i < bytes; ++i) {
        out.push_back(Convert(static_cast<int>(hz % 100)));
        hz /= 100;
    }
    return out;
}

} // namespace civ
