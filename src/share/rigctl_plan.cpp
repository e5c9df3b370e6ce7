// What each command that needs the radio asks of it, step by step, in the CI-V commands Icom
// radios have, and the older ways round for radios that lack them.
#include "civ/modes.h"
#include "share/rigctl_modes.h"
#include "share/rigctl_session.h"

namespace share {

namespace {

using Kind = Action::Kind;
using IfRefused = Step::IfRefused;

constexpr std::int64_t kMaxHz4 = 99'999'999;
constexpr std::int64_t kMaxHz5 = 9'999'999'999;

Plan answer(Rprt code)
{
    return {code, {}};
}

Step step(Kind kind, IfRefused ifRefused = IfRefused::Fail)
{
    return {Action::of(kind), ifRefused, false};
}

Step select(bool vfoB, bool restores = false)
{
    Step s = step(Kind::SelectVfo);
    s.action.on = vfoB;
    s.restores = restores;
    return s;
}

// What the radio has not confirmed lately is gone from its state.
template <class T> bool fresh(const std::optional<Known<T>>& value)
{
    return value.has_value();
}

std::optional<std::int64_t> frequencyArg(const std::string& text, const RadioState& radio)
{
    const auto hz = parseHz(text);
    const std::int64_t highest = radio.frequencyBytes() == 4 ? kMaxHz4 : kMaxHz5;
    if (!hz || *hz <= 0 || *hz > highest) {
        return std::nullopt;
    }
    return hz;
}

// A mode and passband as the radio's mode, data flag and filter; nothing when invalid.
std::optional<Action> modeArgs(const std::string& name, const std::string& passband)
{
    const civ::Mode* const mode = civ::modeForHamlib(name);
    const auto width = parseInt(passband);
    if (!mode || !width) {
        return std::nullopt;
    }
    const FilterChoice choice = filterFor(mode->code, *width);
    if (!choice.valid) {
        return std::nullopt;
    }
    Action a = Action::of(Kind::SetMode);
    a.mode = mode->code;
    a.on = mode->data;
    a.filter = choice.filter;
    return a;
}

// The selected VFO's mode, then its data flag where the radio has one and it must change.
void addModeSteps(std::deque<Step>& steps, const Action& mode, const RadioState::Vfo& vfo,
                  const RadioState& radio)
{
    Action set = mode;
    set.on = false;
    steps.push_back({set, IfRefused::Fail, false});
    Action data = Action::of(Kind::SetData);
    data.on = mode.on;
    data.filter = mode.filter;
    const bool dataOff = vfo.data && !vfo.data->value;
    if (mode.on) {
        steps.push_back({data, IfRefused::Fail, false});
    } else if (!radio.refused(Feature::Data) && !dataOff) {
        steps.push_back({data, IfRefused::Carry, false});
    }
}

// Reads of the selected VFO's mode and data flag not known.
void addModeReads(std::deque<Step>& steps, const RadioState::Vfo& vfo, const RadioState& radio)
{
    if (!fresh(vfo.mode)) {
        steps.push_back(step(Kind::ReadMode));
    }
    if (!radio.refused(Feature::Data) && !fresh(vfo.data)) {
        steps.push_back(step(Kind::ReadData, IfRefused::Carry));
    }
}

// Steps on the transmit VFO: middle's when it is selected; else by 25 and 26 where the radio
// has them, else by selecting it for middle's steps and selecting back.
Plan onOtherVfo(const RadioState& radio, Step direct, std::deque<Step> middle)
{
    if (radio.txSelected()) {
        return {Rprt::Ok, std::move(middle)};
    }
    if (!radio.refused(Feature::VfoCommands)) {
        direct.ifRefused = IfRefused::Retry;
        return {Rprt::Ok, {direct}};
    }
    if (radio.refused(Feature::Vfo)) {
        return answer(Rprt::Rejected);
    }
    middle.push_front(select(!radio.onVfoB()));
    middle.push_back(select(radio.onVfoB(), true));
    return {Rprt::Ok, std::move(middle)};
}

// Which VFO a Hamlib name means: 0 A, 1 B.
std::optional<int> vfoNamed(const std::string& name, const RadioState& radio, Rprt& error)
{
    if (name == "VFOA" || name == "Main" || name == "MainA") {
        return 0;
    }
    if (name == "VFOB" || name == "Sub") {
        return 1;
    }
    if (name == "currVFO" || name == "VFO" || name == "RX") {
        return radio.onVfoB() ? 1 : 0;
    }
    if (name == "TX") {
        return radio.txOnB() ? 1 : 0;
    }
    const bool hamlibs =
        name == "VFOC" || name == "SubA" || name == "SubB" || name == "MainB" || name == "MEM";
    error = hamlibs ? Rprt::Unavailable : Rprt::Invalid;
    return std::nullopt;
}

Plan reads(Command command, const RadioState& radio)
{
    std::deque<Step> steps;
    const RadioState::Vfo& other = radio.tx();
    switch (command) {
    case Command::GetFreq:
    case Command::GetPowerstat:
        if (!fresh(radio.frequency())) {
            steps.push_back(step(Kind::ReadFrequency));
        }
        break;
    case Command::GetMode:
        addModeReads(steps, radio.selected(), radio);
        break;
    case Command::GetPtt:
        if (!fresh(radio.ptt())) {
            steps.push_back(step(Kind::ReadPtt));
        }
        break;
    case Command::GetSplitVfo:
        if (!radio.refused(Feature::Split) && !fresh(radio.split())) {
            steps.push_back(step(Kind::ReadSplit, IfRefused::Carry));
        }
        break;
    case Command::GetSplitFreq:
        if (!fresh(other.frequency)) {
            return onOtherVfo(radio, step(Kind::ReadOtherFrequency), {step(Kind::ReadFrequency)});
        }
        break;
    case Command::GetSplitMode:
        if (!fresh(other.mode) || (!radio.refused(Feature::Data) && !fresh(other.data))) {
            std::deque<Step> middle;
            addModeReads(middle, other, radio);
            return onOtherVfo(radio, step(Kind::ReadOtherMode), std::move(middle));
        }
        break;
    default:
        break;
    }
    return {Rprt::Ok, std::move(steps)};
}

} // namespace

Plan planFor(Command command, const std::vector<std::string>& args, const RadioState& radio)
{
    Rprt error = Rprt::Invalid;
    switch (command) {
    case Command::SetFreq: {
        const auto hz = frequencyArg(args[0], radio);
        if (!hz) {
            return answer(Rprt::Invalid);
        }
        Step s = step(Kind::SetFrequency);
        s.action.hz = *hz;
        return {Rprt::Ok, {s}};
    }
    case Command::SetMode: {
        const auto mode = modeArgs(args[0], args[1]);
        if (!mode) {
            return answer(Rprt::Invalid);
        }
        if (mode->on && radio.refused(Feature::Data)) {
            return answer(Rprt::Rejected);
        }
        Plan plan;
        addModeSteps(plan.steps, *mode, radio.selected(), radio);
        return plan;
    }
    case Command::SetPtt: {
        const auto ptt = parseInt(args[0]);
        if (!ptt || *ptt < 0 || *ptt > 3) {
            return answer(Rprt::Invalid);
        }
        Step s = step(Kind::SetPtt);
        s.action.ptt = *ptt != 0;
        return {Rprt::Ok, {s}};
    }
    case Command::SetVfo: {
        const auto vfo = vfoNamed(args[0], radio, error);
        if (!vfo) {
            return answer(error);
        }
        if (args[0] == "currVFO" || args[0] == "VFO") {
            return answer(Rprt::Ok);
        }
        if (radio.refused(Feature::Vfo)) {
            return answer((*vfo == 1) == radio.onVfoB() ? Rprt::Ok : Rprt::Rejected);
        }
        return {Rprt::Ok, {select(*vfo == 1)}};
    }
    case Command::SetSplitVfo: {
        if (args[0] != "0" && args[0] != "1") {
            return answer(Rprt::Invalid);
        }
        if (!vfoNamed(args[1], radio, error)) {
            return answer(error);
        }
        const bool on = args[0] == "1";
        if (radio.refused(Feature::Split)) {
            return answer(on ? Rprt::Rejected : Rprt::Ok);
        }
        Step s = step(Kind::SetSplit);
        s.action.on = on;
        return {Rprt::Ok, {s}};
    }
    case Command::SetSplitFreq: {
        const auto hz = frequencyArg(args[0], radio);
        if (!hz) {
            return answer(Rprt::Invalid);
        }
        Step direct = step(Kind::SetOtherFrequency);
        direct.action.hz = *hz;
        Step middle = step(Kind::SetFrequency);
        middle.action.hz = *hz;
        return onOtherVfo(radio, direct, {middle});
    }
    case Command::SetSplitMode: {
        auto mode = modeArgs(args[0], args[1]);
        if (!mode) {
            return answer(Rprt::Invalid);
        }
        if (mode->on && radio.refused(Feature::Data)) {
            return answer(Rprt::Rejected);
        }
        // 26 always carries a filter: keep the VFO's own when the client leaves it.
        const auto& known = radio.tx().mode;
        Step direct{*mode, IfRefused::Fail, false};
        direct.action.kind = Kind::SetOtherMode;
        const int kept = known && known->value.filter >= 1 ? known->value.filter : 1;
        direct.action.filter = mode->filter.value_or(kept);
        std::deque<Step> middle;
        addModeSteps(middle, *mode, radio.tx(), radio);
        return onOtherVfo(radio, direct, std::move(middle));
    }
    default:
        return reads(command, radio);
    }
}

} // namespace share
