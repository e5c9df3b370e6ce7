// The radio's frequency, mode and transmit state, kept from replies, reports and confirmed sets.
#include "share/rigctl_radio_state.h"

#include "civ/bcd.h"

#include <algorithm>

namespace share {

namespace {

constexpr std::size_t kSetsRemembered = 16;

// The commands whose sets are applied once the radio says OK.
bool remembered(int command)
{
    constexpr std::array<int, 8> kSets{
        civ::kCmdSetFrequency, civ::kCmdSetMode,      civ::kCmdSelectVfo, civ::kCmdSplit,
        civ::kCmdSettings,     civ::kCmdVfoFrequency, civ::kCmdVfoMode,   kCmdTransmit};
    return std::ranges::find(kSets, command) != kSets.end();
}

template <class T> void forget(std::optional<Known<T>>& known, line::Millis now)
{
    if (known && now - known->at >= RadioState::kTrustMs) {
        known.reset();
    }
}

} // namespace

void RadioState::heard(const line::FrameEvent& event, int radio, int our, line::Millis now)
{
    const civ::FrameView& v = event.view;
    if (event.kind != line::Kind::Frame || v.command < 0) {
        return;
    }
    const auto data = event.data();
    // A read carries no data, except VFO select whose sub-command is all it has.
    if (event.direction == line::Direction::Sent && v.to == radio && event.request &&
        remembered(v.command) && (!data.empty() || v.command == civ::kCmdSelectVfo)) {
        if (sets_.size() >= kSetsRemembered) {
            sets_.erase(sets_.begin());
        }
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
    apply(v.command, v.subCommand, data, now);
}

void RadioState::frequencyOf(Vfo& vfo, std::span<const std::uint8_t> data, line::Millis at)
{
    // Sets go out in the radio's own form, which must be one the builder has.
    if (data.size() == 4 || data.size() == 5) {
        if (const auto hz = civ::frequencyHz(data)) {
            vfo.frequency = Known<std::int64_t>{*hz, at};
            frequencyBytes_ = static_cast<int>(data.size());
        }
    }
}

void RadioState::apply(int command, int subCommand, std::span<const std::uint8_t> data,
                       line::Millis at)
{
    Vfo& selected = vfos_[vfoB_ ? 1 : 0];
    Vfo& other = vfos_[vfoB_ ? 0 : 1];
    switch (command) {
    case civ::kCmdReportFrequency:
    case civ::kCmdReadFrequency:
    case civ::kCmdSetFrequency:
        frequencyOf(selected, data, at);
        break;
    case civ::kCmdReportMode:
    case civ::kCmdReadMode:
    case civ::kCmdSetMode:
        if (data.size() == 1 || data.size() == 2) {
            const int filter =
                data.size() == 2 ? data[1] : (selected.mode ? selected.mode->value.filter : 0);
            selected.mode = Known<Mode>{{data[0], filter}, at};
        }
        break;
    case civ::kCmdSelectVfo:
        if (data.empty() && (subCommand == civ::kSubVfoA || subCommand == civ::kSubVfoB)) {
            vfoB_ = subCommand == civ::kSubVfoB;
            support(Feature::Vfo);
        } else if (data.empty() && subCommand == civ::kSubVfoExchange) {
            std::swap(selected, other);
        }
        break;
    case civ::kCmdSplit:
        if (data.size() == 1 && data[0] <= 1) {
            split_ = Known<bool>{data[0] == 1, at};
            if (data[0] == 1 && !txVfoB_) {
                txVfoB_ = !vfoB_;
            } else if (data[0] == 0) {
                txVfoB_.reset();
            }
            support(Feature::Split);
        }
        break;
    case civ::kCmdSettings:
        if (subCommand == civ::kSubDataMode && data.size() == 2) {
            selected.data = Known<bool>{data[0] != 0, at};
            support(Feature::Data);
        }
        break;
    case civ::kCmdVfoFrequency:
    case civ::kCmdVfoMode:
        if (subCommand == civ::kSubSelectedVfo || subCommand == civ::kSubOtherVfo) {
            Vfo& vfo = subCommand == civ::kSubSelectedVfo ? selected : other;
            if (command == civ::kCmdVfoFrequency) {
                frequencyOf(vfo, data, at);
            } else if (data.size() == 3) {
                vfo.mode = Known<Mode>{{data[0], data[2]}, at};
                vfo.data = Known<bool>{data[1] != 0, at};
            }
            support(Feature::VfoCommands);
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

void RadioState::support(Feature feature)
{
    support_[static_cast<std::size_t>(feature)] = Support::Yes;
}

void RadioState::refuse(Feature feature)
{
    Support& s = support_[static_cast<std::size_t>(feature)];
    // One refused value does not make a radio that took the command before lack it.
    if (s == Support::Unknown) {
        s = Support::No;
    }
}

bool RadioState::refused(Feature feature) const
{
    return support_[static_cast<std::size_t>(feature)] == Support::No;
}

void RadioState::assumeReceiving(line::Millis at)
{
    if (!ptt_) {
        ptt_ = Known<bool>{false, at};
    }
}

void RadioState::expire(line::Millis now)
{
    for (Vfo& vfo : vfos_) {
        forget(vfo.frequency, now);
        forget(vfo.mode, now);
        forget(vfo.data, now);
    }
    forget(split_, now);
    forget(ptt_, now);
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
