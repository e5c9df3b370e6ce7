// Colliding answers, replies lost or cut short, echoes flipped, and another station's reports.
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

ReplyFaults::ReplyFaults(const LinkFaults& faults, std::uint32_t seed)
    : loseEvery_(faults.loseEvery)
    , cutEvery_(faults.cutEvery)
    , lose_(faults.loseChance)
    , rng_(seed)
{}

ReplyFaults::Fate ReplyFaults::next()
{
    ++replies_;
    if (loseEvery_ > 0 && replies_ % static_cast<std::uint64_t>(loseEvery_) == 0) {
        return Fate::Lost;
    }
    if (lose_.p() > 0 && lose_(rng_)) {
        return Fate::Lost;
    }
    if (cutEvery_ > 0 && replies_ % static_cast<std::uint64_t>(cutEvery_) == 0) {
        return Fate::Cut;
    }
    return Fate::Sent;
}

Bytes cutShort(const Bytes& frame)
{
    // Past the addresses, so that the piece looks like the start of a reply: a reply has six
    // bytes or more.
    const std::size_t kept = frame.size() / 2 + 2;
    return {frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(kept)};
}

void EchoFlipper::flip(std::span<std::uint8_t> echo)
{
    for (std::uint8_t& b : echo) {
        if (b == kPreamble) {
            ++preambleBytes_;
            continue;
        }
        if (preambleBytes_ >= 2) {
            // Never onto a code that would end the frame.
            const auto flipped = static_cast<std::uint8_t>(b ^ 0x01);
            b = flipped >= kJam ? static_cast<std::uint8_t>(b ^ 0x10) : flipped;
        }
        preambleBytes_ = 0;
    }
}

Frame chatterReport(std::uint8_t station, std::uint64_t n)
{
    constexpr std::uint64_t kBaseHz = 7'074'000;
    constexpr std::uint64_t kStepHz = 10;
    return Frame{kBroadcast, station, cmd::kTransceiveFrequency,
                 encodeFrequency(kBaseHz + n % 1000 * kStepHz, 5)};
}

} // namespace civsim
