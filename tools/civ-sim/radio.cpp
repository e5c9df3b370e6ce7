// A simulated radio's answers to reads and sets, its reports, and its dial.
#include "radio.h"

#include "bcd.h"

#include <algorithm>
#include <array>
#include <utility>

namespace civsim {

namespace {
constexpr std::uint64_t kDialStepHz = 1000;
} // namespace

bool isKnownMode(std::uint8_t mode)
{
    static constexpr std::array<std::uint8_t, 10> kModes{0x00, 0x01, 0x02, 0x03, 0x04,
                                                         0x05, 0x06, 0x07, 0x08, 0x0B};
    return std::find(kModes.begin(), kModes.end(), mode) != kModes.end();
}

bool isKnownFilter(std::uint8_t filter)
{
    return filter >= 1 && filter <= 3;
}

Radio::Radio(const RadioConfig& config, bool transceive)
    : address_(config.address)
    , frequency_(config.frequency)
    , mode_(config.mode)
    , filter_(config.filter)
    , frequencyBytes_(config.frequencyBytes)
    , readId_(config.readId)
    , features_(config)
    , transceive_(transceive)
    , otherVfo_{config.frequency, config.mode, config.filter, false}
{}

std::vector<Frame> Radio::handle(const Frame& frame)
{
    const bool broadcast = frame.dest == kBroadcast;
    if (!on_ || (frame.dest != address_ && !broadcast) || frame.src == address_) {
        return {};
    }

    std::vector<Frame> out;
    bool ok = false;
    switch (frame.cmd) {
    case cmd::kReadFrequency:
        if (frame.data.empty() && !broadcast) {
            return {frequencyReport(frame.src)};
        }
        break;
    case cmd::kReadMode:
        if (frame.data.empty() && !broadcast) {
            return {reply(frame.src, cmd::kReadMode, {mode_, filter_})};
        }
        break;
    case cmd::kSetFrequency:
        ok = setFrequency(frame.data);
        if (ok && transceive_) {
            out.push_back(reply(kBroadcast, cmd::kTransceiveFrequency,
                                encodeFrequency(frequency_, frequencyBytes_)));
        }
        break;
    case cmd::kSetMode:
        ok = setMode(frame.data);
        if (ok && transceive_) {
            out.push_back(reply(kBroadcast, cmd::kTransceiveMode, {mode_, filter_}));
        }
        break;
    case cmd::kReadId:
        // Radios answer read ID also when it is sent to everyone: that is how they are found.
        if (frame.data == Bytes{0x00} && readId_) {
            return {reply(frame.src, cmd::kReadId, {0x00, address_})};
        }
        break;
    case cmd::kSelectVfo:
        ok = !broadcast && features_.vfo && selectVfo(frame.data);
        break;
    case cmd::kTransmit:
    case cmd::kSplit:
    case cmd::kSettings:
    case cmd::kVfoFrequency:
    case cmd::kVfoMode:
        if (!broadcast) {
            if (std::optional<Frame> answer = answerTo(frame)) {
                return {std::move(*answer)};
            }
        }
        break;
    case cmd::kTransceiveFrequency:
        // Another station's report: radios linked on one bus follow each other.
        if (broadcast) {
            setFrequency(frame.data);
        }
        break;
    case cmd::kTransceiveMode:
        if (broadcast) {
            setMode(frame.data);
        }
        break;
    default:
        break;
    }

    if (!broadcast) {
        out.insert(out.begin(), reply(frame.src, ok ? kOk : kNg));
    }
    return out;
}

Frame Radio::frequencyReport(std::uint8_t dest) const
{
    return reply(dest, cmd::kReadFrequency, encodeFrequency(frequency_, frequencyBytes_));
}

void Radio::limitTo(std::uint64_t low, std::uint64_t high)
{
    low_ = low;
    high_ = high;
}

std::optional<Frame> Radio::turnDial()
{
    if (!on_) {
        return std::nullopt;
    }
    frequency_ += kDialStepHz;
    if (frequency_ > highest()) {
        frequency_ = std::min(low_, highest());
    }
    if (!transceive_) {
        return std::nullopt;
    }
    return reply(kBroadcast, cmd::kTransceiveFrequency,
                 encodeFrequency(frequency_, frequencyBytes_));
}

std::uint64_t Radio::highest() const
{
    return std::min(high_, maxFrequency(frequencyBytes_));
}

bool Radio::setFrequency(const Bytes& data)
{
    // A five-byte radio also takes the four-byte form, for controllers that only send that.
    if (data.size() != static_cast<std::size_t>(frequencyBytes_) && data.size() != 4) {
        return false;
    }
    const auto hz = decodeFrequency(data);
    if (!hz || *hz < low_ || *hz > high_) {
        return false;
    }
    frequency_ = *hz;
    return true;
}

bool Radio::setMode(const Bytes& data)
{
    if (data.empty() || data.size() > 2 || !isKnownMode(data[0])) {
        return false;
    }
    if (data.size() == 2 && !isKnownFilter(data[1])) {
        return false;
    }
    mode_ = data[0];
    data_ = data_ && (mode_ == 0x00 || mode_ == 0x01 || mode_ == 0x02 || mode_ == 0x05);
    if (data.size() == 2) {
        filter_ = data[1];
    }
    return true;
}

Frame Radio::reply(std::uint8_t dest, std::uint8_t command, Bytes data) const
{
    return Frame{dest, address_, command, std::move(data)};
}

} // namespace civsim
