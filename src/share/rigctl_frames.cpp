// The action-to-frame table of the network server.
#include "share/rigctl_frames.h"

#include "civ/bcd.h"
#include "civ/frame_builder.h"

namespace share {

namespace {

std::uint8_t byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

civ::Frame frameFor(const Action& action, int to, int our, int frequencyBytes)
{
    using Kind = Action::Kind;
    const auto build = [to, our](std::uint8_t command, civ::Frame body) {
        return civ::buildFrame(byte(to), byte(our), command, body);
    };
    const auto withFrequency = [&](std::uint8_t command, civ::Frame head) {
        const civ::Frame bcd = civ::frequencyBcd(action.hz, frequencyBytes);
        head.insert(head.end(), bcd.begin(), bcd.end());
        return build(command, std::move(head));
    };
    const std::uint8_t on = action.on ? 1 : 0;
    switch (action.kind) {
    case Kind::ReadFrequency:
        return build(civ::kCmdReadFrequency, {});
    case Kind::ReadMode:
        return build(civ::kCmdReadMode, {});
    case Kind::ReadPtt:
        return build(kCmdTransmit, {kSubPtt});
    case Kind::ReadData:
        return build(civ::kCmdSettings, {civ::kSubDataMode});
    case Kind::ReadSplit:
        return build(civ::kCmdSplit, {});
    case Kind::ReadOtherFrequency:
        return build(civ::kCmdVfoFrequency, {civ::kSubOtherVfo});
    case Kind::ReadOtherMode:
        return build(civ::kCmdVfoMode, {civ::kSubOtherVfo});
    case Kind::SetFrequency:
        return withFrequency(civ::kCmdSetFrequency, {});
    case Kind::SetMode:
        if (action.filter) {
            return build(civ::kCmdSetMode, {byte(action.mode), byte(*action.filter)});
        }
        return build(civ::kCmdSetMode, {byte(action.mode)});
    case Kind::SetPtt:
        return build(kCmdTransmit, {kSubPtt, byte(action.ptt ? 1 : 0)});
    case Kind::SetData:
        // On with the mode's filter, wide when the client left it; off is 00 00.
        return build(civ::kCmdSettings,
                     {civ::kSubDataMode, on, byte(action.on ? action.filter.value_or(1) : 0)});
    case Kind::SetSplit:
        return build(civ::kCmdSplit, {on});
    case Kind::SelectVfo:
        return build(civ::kCmdSelectVfo, {action.on ? civ::kSubVfoB : civ::kSubVfoA});
    case Kind::SetOtherFrequency:
        return withFrequency(civ::kCmdVfoFrequency, {civ::kSubOtherVfo});
    case Kind::SetOtherMode:
        return build(civ::kCmdVfoMode,
                     {civ::kSubOtherVfo, byte(action.mode), on, byte(action.filter.value_or(1))});
    }
    return {};
}

std::optional<Feature> featureOf(Action::Kind kind)
{
    using Kind = Action::Kind;
    switch (kind) {
    case Kind::ReadData:
    case Kind::SetData:
        return Feature::Data;
    case Kind::ReadSplit:
    case Kind::SetSplit:
        return Feature::Split;
    case Kind::SelectVfo:
        return Feature::Vfo;
    case Kind::ReadOtherFrequency:
    case Kind::ReadOtherMode:
    case Kind::SetOtherFrequency:
    case Kind::SetOtherMode:
        return Feature::VfoCommands;
    default:
        return std::nullopt;
    }
}

bool knows(const RadioState& radio, Action::Kind kind)
{
    using Kind = Action::Kind;
    switch (kind) {
    case Kind::ReadFrequency:
        return radio.frequency().has_value();
    case Kind::ReadMode:
        return radio.mode().has_value();
    case Kind::ReadPtt:
        return radio.ptt().has_value();
    case Kind::ReadData:
        return radio.data().has_value();
    case Kind::ReadSplit:
        return radio.split().has_value();
    case Kind::ReadOtherFrequency:
        return radio.unselected().frequency.has_value();
    case Kind::ReadOtherMode:
        return radio.unselected().mode && radio.unselected().data;
    default:
        return false;
    }
}

} // namespace share
