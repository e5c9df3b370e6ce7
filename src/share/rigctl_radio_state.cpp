// The radio's frequency, mode and transmit state, kept from replies, reports and confirmed sets.
#include "share/rigctl_radio_state.h"

#include "civ/bcd.h"

namespace share {

namespace {

constexpr std::size_t kSetsRemembered = 16;

} // namespace

void RadioState::heard(const line::FrameEvent& event, int radio, int our, line::Millis now)
{
    const civ::FrameView& v = event.view;
    if (event.kind != line::Kind::Frame || v.command < 0) {
        return;
    }
    if (event.direction == line::Direction::Sent && v.to == radio && event.request &&
        (v.command == civ::kCmdSetFrequency || v.command == civ::kCmdSetMode ||
         v.command == kCmdTransmit)) {
        if (sets_.size() >= kSetsRemembered) {
            sets_.erase(sets_.begin());
        }
        const auto data = event.data();
        sets_[*event.request] = {v.command, v.subCommand, {data.begin(), data.end()}};
        return;
    }
    if (event.direction != line::Direction::Received || v.from != radio ||
        (v.to != our && v.to != civ::kBroadcast)) {
        return;
    }
    if (v.command == civ::kOk && event.request) {
        const auto set = sets_.find(*event.request);
        if (set != sets_.end()) {
            apply(set->second.command, set->second.subCommand, set->second.data, now);
            sets_.erase(set);
        }
        return;
    }
    apply(v.command, v.subCommand, event.data(), now);
}

void RadioState::apply(int command, int subCommand, std::span<const std::uint8_t> data,
                       line::Millis at)
{
    switch (command) {
    case civ::kCmdReportFrequency:
    case civ::kCmdReadFrequency:
    case civ::kCmdSetFrequency:
        // Sets go out in the radio's own form, which must be one the builder has.
        if (data.size() == 4 || data.size() == 5) {
            if (const auto hz = civ::frequencyHz(data)) {
                frequency_ = Known<std::int64_t>{*hz, at};
                frequencyBytes_ = static_cast<int>(data.size());
            }
        }
        break;
    case civ::kCmdReportMode:
    case civ::kCmdReadMode:
    case civ::kCmdSetMode:
        if (data.size() == 1 || data.size() == 2) {
            const int filter = data.size() == 2 ? data[1] : (mode_ ? mode_->value.filter : 0);
            mode_ = Known<Mode>{{data[0], filter}, at};
        }
        break;
    case kCmdTransmit:
        if (subCommand == kSubPtt && data.size() == 1 && data[0] <= 1) {
            ptt_ = Known<bool>{data[0] == 1, at};
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
    return event.kind == line::Kind::Frame ? event.view.command : -1;
}

void RadioState::clear()
{
    *this = RadioState();
}

} // namespace share
