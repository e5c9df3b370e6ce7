// The second VFO, split, data mode and the transmitter, as programs like Hamlib use them.
#include "bcd.h"
#include "radio.h"

#include <utility>

namespace civsim {

namespace {
constexpr std::uint8_t kVfoA = 0x00;
constexpr std::uint8_t kVfoB = 0x01;
constexpr std::uint8_t kEqualize = 0xA0;
constexpr std::uint8_t kExchange = 0xB0;
constexpr std::uint8_t kPtt = 0x00;
constexpr std::uint8_t kDataMode = 0x06;
constexpr std::uint8_t kSelected = 0x00;
constexpr std::uint8_t kUnselected = 0x01;

// Data mode goes with the voice modes that carry audio: LSB, USB, AM and FM.
bool takesData(std::uint8_t mode)
{
    return mode == 0x00 || mode == 0x01 || mode == 0x02 || mode == 0x05;
}
} // namespace

std::optional<Frame> Radio::answerTo(const Frame& frame)
{
    switch (frame.cmd) {
    case cmd::kTransmit:
        return transmit(frame);
    case cmd::kSplit:
        return features_.split ? splitCommand(frame) : std::nullopt;
    case cmd::kSettings:
        return features_.data ? dataMode(frame) : std::nullopt;
    case cmd::kVfoFrequency:
        return features_.vfoCommands ? vfoFrequency(frame) : std::nullopt;
    case cmd::kVfoMode:
        return features_.vfoCommands ? vfoMode(frame) : std::nullopt;
    default:
        return std::nullopt;
    }
}

// 0F reads split, 0F 00 and 0F 01 switch it.
std::optional<Frame> Radio::splitCommand(const Frame& frame)
{
    if (frame.data.empty()) {
        return reply(frame.src, cmd::kSplit, {static_cast<std::uint8_t>(split_ ? 1 : 0)});
    }
    if (frame.data.size() != 1 || frame.data[0] > 1) {
        return std::nullopt;
    }
    split_ = frame.data[0] == 1;
    return reply(frame.src, kOk);
}

// 1A 06 reads the selected VFO's data mode; 1A 06 01 F sets it on with filter F, 1A 06 00 00 off.
std::optional<Frame> Radio::dataMode(const Frame& frame)
{
    const Bytes& d = frame.data;
    if (d.empty() || d[0] != kDataMode) {
        return std::nullopt;
    }
    if (d.size() == 1) {
        return reply(frame.src, cmd::kSettings,
                     {kDataMode, static_cast<std::uint8_t>(data_ ? 1 : 0),
                      static_cast<std::uint8_t>(data_ ? filter_ : 0)});
    }
    if (d.size() != 3 || d[1] > 1 || (d[1] == 1 && (!isKnownFilter(d[2]) || !takesData(mode_)))) {
        return std::nullopt;
    }
    data_ = d[1] == 1;
    if (data_) {
        filter_ = d[2];
    }
    return reply(frame.src, kOk);
}

// 25 00 and 25 01 read the selected and the unselected VFO's frequency; with one, set it.
std::optional<Frame> Radio::vfoFrequency(const Frame& frame)
{
    const Bytes& d = frame.data;
    if (d.empty() || d[0] > kUnselected) {
        return std::nullopt;
    }
    std::uint64_t& hz = d[0] == kSelected ? frequency_ : otherVfo_.frequency;
    if (d.size() == 1) {
        Bytes answer{d[0]};
        const Bytes bcd = encodeFrequency(hz, frequencyBytes_);
        answer.insert(answer.end(), bcd.begin(), bcd.end());
        return reply(frame.src, cmd::kVfoFrequency, std::move(answer));
    }
    const Bytes bcd(d.begin() + 1, d.end());
    const auto wanted = decodeFrequency(bcd);
    if (bcd.size() != static_cast<std::size_t>(frequencyBytes_) || !wanted || *wanted < low_ ||
        *wanted > high_) {
        return std::nullopt;
    }
    hz = *wanted;
    return reply(frame.src, kOk);
}

// 26 S reads VFO S's mode, data mode and filter; 26 S M D F sets them.
std::optional<Frame> Radio::vfoMode(const Frame& frame)
{
    const Bytes& d = frame.data;
    if (d.empty() || d[0] > kUnselected) {
        return std::nullopt;
    }
    const bool selected = d[0] == kSelected;
    std::uint8_t& mode = selected ? mode_ : otherVfo_.mode;
    std::uint8_t& filter = selected ? filter_ : otherVfo_.filter;
    bool& data = selected ? data_ : otherVfo_.data;
    if (d.size() == 1) {
        return reply(frame.src, cmd::kVfoMode,
                     {d[0], mode, static_cast<std::uint8_t>(data ? 1 : 0), filter});
    }
    if (d.size() != 4 || !isKnownMode(d[1]) || d[2] > 1 || !isKnownFilter(d[3]) ||
        (d[2] == 1 && !takesData(d[1]))) {
        return std::nullopt;
    }
    mode = d[1];
    data = d[2] == 1;
    filter = d[3];
    return reply(frame.src, kOk);
}

bool Radio::selectVfo(const Bytes& data)
{
    const auto exchange = [this] {
        Vfo selected{frequency_, mode_, filter_, data_};
        std::swap(selected, otherVfo_);
        frequency_ = selected.frequency;
        mode_ = selected.mode;
        filter_ = selected.filter;
        data_ = selected.data;
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
        otherVfo_ = {frequency_, mode_, filter_, data_};
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
