// A read's answer from what the radio told: every value of it, or none and the time-out code.
#include "share/rigctl_modes.h"
#include "share/rigctl_session.h"

namespace share {

Rprt RigctlSession::answer(Command command)
{
    const auto vfoName = [](bool b) { return std::string(b ? "VFOB" : "VFOA"); };
    const auto modeOf = [this](const RadioState::Vfo& vfo) -> std::optional<std::string> {
        if (!vfo.mode || (!vfo.data && !radio_.refused(Feature::Data))) {
            return std::nullopt;
        }
        const bool data = vfo.data && vfo.data->value;
        return std::string(hamlibModeName(vfo.mode->value.code, data).value_or("None"));
    };
    const auto passband = [](const RadioState::Vfo& vfo) {
        return std::to_string(passbandHz(vfo.mode->value.code, vfo.mode->value.filter));
    };
    const RadioState::Vfo& other = radio_.tx();
    switch (command) {
    case Command::GetFreq:
        if (!radio_.frequency()) {
            return Rprt::Timeout;
        }
        value("Frequency", std::to_string(radio_.frequency()->value));
        return Rprt::Ok;
    case Command::GetPowerstat:
        // Only a radio that answers is on.
        if (!radio_.frequency()) {
            return Rprt::Timeout;
        }
        value("Power Status", "1", true);
        return Rprt::Ok;
    case Command::GetMode: {
        const auto mode = modeOf(radio_.selected());
        if (!mode) {
            return Rprt::Timeout;
        }
        value("Mode", *mode);
        value("Passband", passband(radio_.selected()));
        return Rprt::Ok;
    }
    case Command::GetPtt:
        if (!radio_.ptt()) {
            return Rprt::Timeout;
        }
        value("PTT", radio_.ptt()->value ? "1" : "0");
        return Rprt::Ok;
    case Command::GetSplitVfo: {
        if (!radio_.split() && !radio_.refused(Feature::Split)) {
            return Rprt::Timeout;
        }
        const bool split = radio_.split() && radio_.split()->value;
        value("Split", split ? "1" : "0");
        value("TX VFO", vfoName(split ? radio_.txOnB() : radio_.onVfoB()));
        return Rprt::Ok;
    }
    case Command::GetSplitFreq:
        if (!other.frequency) {
            return Rprt::Timeout;
        }
        value("TX Frequency", std::to_string(other.frequency->value));
        return Rprt::Ok;
    case Command::GetSplitMode: {
        const auto mode = modeOf(other);
        if (!mode) {
            return Rprt::Timeout;
        }
        value("TX Mode", *mode);
        value("TX Passband", passband(other));
        return Rprt::Ok;
    }
    default:
        return Rprt::NotImplemented;
    }
}

} // namespace share
