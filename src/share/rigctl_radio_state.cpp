#include "share/rigctl_radio_state.h"

#include "civ/frame.h"

namespace share {

namespace {

constexpr std::size_t kSetsRemembered = 16;

// Start of the address bytes: after the preamble, however many FE it has.
std::size_t bodyStart(const std::vector<std::uint8_t>& bytes)
{
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] == civ::kPreamble) {
        ++i;
    }
    return i;
}

} // namespace

std::optional<std::int64_t> bcdHz(const std::uint8_t* data, std::size_t size)
{
    std::int64_t hz = 0;
    std::int64_t scale = 1;
    for (std::size_t i = 0; i < size; ++i) {
        const int low = data[i] & 0x0F;
        const int high = data[i] >> 4;
        if (low > 9 || high > 9) {
            return std::nullopt;
        }
        hz += (high * 10 + low) * scale;
        scale *= 100;
    }
    return hz;
}

void RadioState::heard(const line::FrameEvent& event, int radio, int our, line::Millis now)
{
    if (event.kind != line::Kind::Frame) {
        return;
    }
    const std::size_t start = bodyStart(event.bytes);
    // to, from, command and FD at least.
    if (event.bytes.size() < start + 4) {
        return;
    }
    const int to = event.bytes[start];
    const int from = event.bytes[start + 1];
    const int command = event.bytes[start + 2];
    const std::uint8_t* const data = event.bytes.data() + start + 3;
    const std::size_t size = event.bytes.size() - start - 4;

    if (event.direction == line::Direction::Sent && to == radio && event.request &&
        (command == civ::kCmdSetFrequency || command == civ::kCmdSetMode ||
         command == kCmdTransmit)) {
        if (sets_.size() >= kSetsRemembered) {
            sets_.erase(sets_.begin());
        }
        sets_[*event.request] = {event.bytes.begin() + static_cast<long>(start) + 2,
                                 event.bytes.end() - 1};
        return;
    }
    if (event.direction != line::Direction::Received || from != radio ||
        (to != our && to != civ::kBroadcast)) {
        return;
    }
    if (command == civ::kOk && event.request) {
        const auto set = sets_.find(*event.request);
        if (set != sets_.end()) {
            apply(set->second[0], set->second.data() + 1, set->second.size() - 1, now);
            sets_.erase(set);
        }
        return;
    }
    apply(command, data, size, now);
}

void RadioState::apply(int command, const std::uint8_t* data, std::size_t size, line::Millis at)
{
    switch (command) {
    case civ::kCmdReportFrequency:
    case civ::kCmdReadFrequency:
    case civ::kCmdSetFrequency:
        if (size == 4 || size == 5) {
            if (const auto hz = bcdHz(data, size)) {
                frequency_ = Known<std::int64_t>{*hz, at};
                frequencyBytes_ = static_cast<int>(size);
            }
        }
        break;
    case civ::kCmdReportMode:
    case civ::kCmdReadMode:
    case civ::kCmdSetMode:
        if (size == 1 || size == 2) {
            const int filter = size == 2 ? data[1] : (mode_ ? mode_->value.filter : 0);
            mode_ = Known<Mode>{{data[0], filter}, at};
        }
        break;
    case kCmdTransmit:
        if (size == 2 && data[0] == kSubPtt && data[1] <= 1) {
            ptt_ = Known<bool>{data[1] == 1, at};
        }
        break;
    default:
        break;
    }
}

void RadioState::assumeReceiving(line::Millis at)
{
    if (!ptt_) {
        ptt_ = Known<bool>{false, at};
    }
}

int commandOf(const line::FrameEvent& event)
{
    const std::size_t start = bodyStart(event.bytes);
    if (event.kind != line::Kind::Frame || event.bytes.size() < start + 4) {
        return -1;
    }
    return event.bytes[start + 2];
}

void RadioState::clear()
{
    *this = RadioState();
}

} // namespace share
