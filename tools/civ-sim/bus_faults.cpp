#include "bus_faults.h"

#include "bcd.h"
#include "radio.h"

#include <algorithm>

namespace civsim {

std::optional<Bytes> collide(std::vector<Frame>& replies, Collision mode)
{
    const auto isReadId = [](const Frame& f) { return f.cmd == cmd::kReadId; };
    if (mode == Collision::None || std::ranges::count_if(replies, isReadId) < 2) {
        return std::nullopt;
    }
    Bytes line;
    for (const Frame& reply : replies) {
        if (!isReadId(reply)) {
            continue;
        }
        const Bytes bytes = reply.encode();
        if (line.empty()) {
            line = bytes;
        } else {
            line.resize(std::max(line.size(), bytes.size()), 0xFF);
            std::transform(bytes.begin(), bytes.end(), line.begin(), line.begin(),
                           [](std::uint8_t a, std::uint8_t b) { return a & b; });
        }
    }
    std::erase_if(replies, isReadId);
    if (mode == Collision::Jam) {
        return Bytes{kJam, kJam};
    }
    return line;
}

Frame chatterReport(std::uint8_t station, std::uint64_t n)
{
    constexpr std::uint64_t kBaseHz = 7'074'000;
    constexpr std::uint64_t kStepHz = 10;
    return Frame{kBroadcast, station, cmd::kTransceiveFrequency,
                 encodeFrequency(kBaseHz + n % 1000 * kStepHz, 5)};
}

} // namespace civsim
