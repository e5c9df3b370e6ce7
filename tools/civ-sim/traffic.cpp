// Two other stations' talk mixed with our radios' reports, noise bursts, and line time.
#include "traffic.h"

#include "bcd.h"

#include <algorithm>

namespace civsim {

namespace {

bool inUse(std::uint8_t address, std::uint8_t controller, const std::vector<Radio>& radios)
{
    return address == controller ||
           std::any_of(radios.begin(), radios.end(),
                       [address](const Radio& r) { return r.address() == address; });
}

// The first free address from `from` on, stepping by two as stations are usually numbered.
std::uint8_t freeAddress(std::uint8_t from, std::uint8_t controller,
                         const std::vector<Radio>& radios)
{
    std::uint8_t address = from;
    while (inUse(address, controller, radios) || address == kBroadcast || address >= kJam) {
        address = static_cast<std::uint8_t>(address + 2);
    }
    return address;
}

} // namespace

FloodSource::FloodSource(std::uint8_t controller, const std::vector<Radio>& radios)
    : controller_(controller)
{
    stationA_ = freeAddress(0x70, controller, radios);
    stationB_ = freeAddress(static_cast<std::uint8_t>(stationA_ + 2), controller, radios);
}

Frame FloodSource::next(const std::vector<Radio>& radios)
{
    const std::uint64_t step = step_++;
    if (step % 2 == 1 && !radios.empty()) {
        return radios[(step / 2) % radios.size()].frequencyReport(controller_);
    }

    // Station B polls station A, which answers with a slowly drifting frequency.
    const std::uint64_t hz = 7'074'000 + (step / 8) % 1000 * 10;
    switch (step / 2 % 4) {
    case 0:
        return Frame{stationA_, stationB_, cmd::kReadFrequency, {}};
    case 1:
        return Frame{stationB_, stationA_, cmd::kReadFrequency, encodeFrequency(hz, 5)};
    case 2:
        return Frame{stationA_, stationB_, cmd::kReadMode, {}};
    default:
        return Frame{stationB_, stationA_, cmd::kReadMode, {0x03, 0x02}};
    }
}

Bytes noiseBurst(std::mt19937& rng)
{
    std::uniform_int_distribution<int> length(1, 4);
    // Below the jam code: no FC, FD or FE.
    std::uniform_int_distribution<int> value(0x00, kOk);
    Bytes out(static_cast<std::size_t>(length(rng)));
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(value(rng));
    }
    return out;
}

std::chrono::nanoseconds lineTime(std::size_t bytes, int baud)
{
    const auto bits = static_cast<std::int64_t>(bytes) * 10;
    return std::chrono::nanoseconds(bits * 1'000'000'000 / baud);
}

} // namespace civsim
