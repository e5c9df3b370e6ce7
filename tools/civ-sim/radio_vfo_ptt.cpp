// A simulated radio's second VFO and transmitter, as programs like Hamlib use them.
#include "radio.h"

#include <utility>

namespace civsim {

namespace {
constexpr std::uint8_t kVfoA = 0x00;
constexpr std::uint8_t kVfoB = 0x01;
constexpr std::uint8_t kEqualize = 0xA0;
constexpr std::uint8_t kExchange = 0xB0;
constexpr std::uint8_t kPtt = 0x00;
} // namespace

bool Radio::selectVfo(const Bytes& data)
{
    const auto exchange = [this] {
        Vfo selected{frequency_, mode_, filter_};
        std::swap(selected, otherVfo_);
        frequency_ = selected.frequency;
        mode_ = selected.mode;
        filter_ = selected.filter;
    };
    // No sub-command: VFO mode, which is all this radio has.
    if (data.empty()) {
        return true;
    }
    if (data.size() != 1) {
        return false;
    }
    switch (data[0]) {
    case kVfoA:
    case kVfoB:
        if (onVfoB_ != (data[0] == kVfoB)) {
            exchange();
            onVfoB_ = !onVfoB_;
        }
        return true;
    case kEqualize:
        otherVfo_ = {frequency_, mode_, filter_};
        return true;
    case kExchange:
        exchange();
        return true;
    default:
        return false;
    }
}

// 1C 00 reads the transmitter, 1C 00 01 and 1C 00 00 switch it; anything else is NG.
std::optional<Frame> Radio::transmit(const Frame& frame)
{
    if (frame.data.empty() || frame.data[0] != kPtt || frame.data.size() > 2) {
        return std::nullopt;
    }
    if (frame.data.size() == 1) {
        return reply(frame.src, cmd::kTransmit,
                     {kPtt, static_cast<std::uint8_t>(transmitting_ ? 1 : 0)});
    }
    if (frame.data[1] > 1) {
        return std::nullopt;
    }
    transmitting_ = frame.data[1] == 1;
    return reply(frame.src, kOk);
}

} // namespace civsim
