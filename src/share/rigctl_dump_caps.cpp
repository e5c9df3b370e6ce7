// \dump_caps: what this program does for a client, in the order and wording of rigctld's own
// capability dump, which loggers search line by line ("Can get VFO:", "Can send Morse:").
#include "civ/modes.h"
#include "share/rigctl_commands.h"
#include "share/rigctl_modes.h"
#include "share/rigctl_radio_state.h"

#include <array>
#include <cstdio>
#include <utility>

namespace share {

namespace {

// Hamlib's way of writing a width: "500.0 Hz", "2.4000 kHz".
std::string width(int hz)
{
    char text[32];
    if (hz < 1000) {
        std::snprintf(text, sizeof text, "%.1f Hz", hz * 1.0);
    } else {
        std::snprintf(text, sizeof text, "%.4f kHz", hz / 1000.0);
    }
    return text;
}

std::string modeList(bool data)
{
    std::string out;
    for (int mode = 0; mode <= 8; ++mode) {
        if (const auto name = hamlibModeName(mode)) {
            out += std::string(*name) + " ";
        }
    }
    for (const civ::Mode& mode : civ::modes()) {
        if (data && mode.data) {
            out += std::string(mode.hamlib) + " ";
        }
    }
    return out;
}

// Y, N, or S: yes where the radio has split.
constexpr std::array<std::pair<std::string_view, char>, 68> kAbilities{{
    {"Has priv data", 'N'},
    {"Has Init", 'Y'},
    {"Has Cleanup", 'Y'},
    {"Has Open", 'Y'},
    {"Has Close", 'Y'},
    {"Can set Conf", 'N'},
    {"Can get Conf", 'N'},
    {"Can set Frequency", 'Y'},
    {"Can get Frequency", 'Y'},
    {"Can set Mode", 'Y'},
    {"Can get Mode", 'Y'},
    {"Can set VFO", 'Y'},
    {"Can get VFO", 'Y'},
    {"Can set PTT", 'Y'},
    {"Can get PTT", 'Y'},
    {"Can get DCD", 'N'},
    {"Can set Repeater Duplex", 'N'},
    {"Can get Repeater Duplex", 'N'},
    {"Can set Repeater Offset", 'N'},
    {"Can get Repeater Offset", 'N'},
    {"Can set Split Freq", 'S'},
    {"Can get Split Freq", 'S'},
    {"Can set Split Mode", 'S'},
    {"Can get Split Mode", 'S'},
    {"Can set Split VFO", 'S'},
    {"Can get Split VFO", 'Y'},
    {"Can set Tuning Step", 'N'},
    {"Can get Tuning Step", 'N'},
    {"Can set RIT", 'N'},
    {"Can get RIT", 'N'},
    {"Can set XIT", 'N'},
    {"Can get XIT", 'N'},
    {"Can set CTCSS", 'N'},
    {"Can get CTCSS", 'N'},
    {"Can set DCS", 'N'},
    {"Can get DCS", 'N'},
    {"Can set CTCSS Squelch", 'N'},
    {"Can get CTCSS Squelch", 'N'},
    {"Can set DCS Squelch", 'N'},
    {"Can get DCS Squelch", 'N'},
    {"Can set Power Stat", 'N'},
    {"Can get Power Stat", 'Y'},
    {"Can Reset", 'N'},
    {"Can get Ant", 'N'},
    {"Can set Ant", 'N'},
    {"Can set Transceive", 'N'},
    {"Can get Transceive", 'N'},
    {"Can set Func", 'N'},
    {"Can get Func", 'N'},
    {"Can set Level", 'N'},
    {"Can get Level", 'N'},
    {"Can set Param", 'N'},
    {"Can get Param", 'N'},
    {"Can send DTMF", 'N'},
    {"Can recv DTMF", 'N'},
    {"Can send Morse", 'N'},
    {"Can send Voice", 'N'},
    {"Can decode Events", 'N'},
    {"Can set Bank", 'N'},
    {"Can set Mem", 'N'},
    {"Can get Mem", 'N'},
    {"Can set Channel", 'N'},
    {"Can get Channel", 'N'},
    {"Can ctl Mem/VFO", 'N'},
    {"Can Scan", 'N'},
    {"Can get Info", 'N'},
    {"Can get power2mW", 'N'},
    {"Can get mW2power", 'N'},
}};

} // namespace

std::string dumpCaps(const RadioState& radio)
{
    const std::string modes = modeList(!radio.refused(Feature::Data));
    const std::string vfos = radio.refused(Feature::Vfo) ? "VFOA " : "VFOA VFOB ";
    const bool split = !radio.refused(Feature::Split) &&
                       !(radio.refused(Feature::Vfo) && radio.refused(Feature::VfoCommands));
    std::string out = "Caps dump for model: 1\n"
                      "Model name:\tIcom Interface\n"
                      "Mfg name:\tIcom\n"
                      "Backend version:\ticom-interface\n"
                      "Backend copyright:\tGPL\n"
                      "Backend status:\tStable\n"
                      "Rig type:\tTransceiver \n"
                      "PTT type:\tRig capable\n"
                      "DCD type:\tNone\n"
                      "Port type:\tNetwork link\n"
                      "Write delay: 0mS, timeout 3000mS, 0 retry\n"
                      "Post Write delay: 0mS\n"
                      "Has targetable VFO: N\n"
                      "Has async data support: N\n"
                      "Announce: 0x0\n"
                      "Max RIT: -0.0kHz/+0.0kHz\n"
                      "Max XIT: -0.0kHz/+0.0kHz\n"
                      "Max IF-SHIFT: -0.0kHz/+0.0kHz\n"
                      "Preamp: None\n"
                      "Attenuator: None\n"
                      "AGC levels:\n\n"
                      "CTCSS: None\n"
                      "DCS: None\n"
                      "Get functions: \n"
                      "Set functions: \n"
                      "Extra functions:\n"
                      "Get level: \n"
                      "Set level: \n"
                      "Extra levels:\n"
                      "Get parameters: \n"
                      "Set parameters: \n"
                      "Extra parameters:\n"
                      "Mode list: " +
                      modes +
                      "\n"
                      "VFO list: " +
                      vfos +
                      "\n"
                      "VFO Ops: \n"
                      "Scan Ops: \n"
                      "Number of banks:\t0\n"
                      "Memory name desc size:\t0\n"
                      "Memories: None\n"
                      "TX ranges #1 for radio:\n"
                      "\t30000 Hz - 199999999 Hz\n"
                      "\t\tVFO list: " +
                      vfos +
                      "\n"
                      "\t\tMode list: " +
                      modes +
                      "\n"
                      "RX ranges #1 for radio:\n"
                      "\t30000 Hz - 199999999 Hz\n"
                      "\t\tVFO list: " +
                      vfos +
                      "\n"
                      "\t\tMode list: " +
                      modes + "\nTuning steps:\n\t1.0 Hz:   \t" + modes + "\nFilters:\n";
    std::string bandwidths = "Bandwidths:\n";
    for (int mode = 0; mode <= 8; ++mode) {
        const std::string name(hamlibModeName(mode).value_or("None"));
        for (const int filter : {2, 3, 1}) {
            // Wide FM has the one filter.
            if (mode == 6 && filter != 2) {
                continue;
            }
            out.append("\t").append(width(passbandHz(mode, filter)));
            out.append(":   \t").append(name).append(" \n");
        }
        bandwidths.append("\t").append(name).append("\tNormal: ");
        bandwidths.append(width(passbandHz(mode, 2))).append(",\tNarrow: ");
        bandwidths.append(width(passbandHz(mode, 3))).append(",\tWide: ");
        bandwidths.append(width(passbandHz(mode, 1))).append("\n");
    }
    out += bandwidths;
    for (const auto& [ability, able] : kAbilities) {
        out.append(ability).append(able == 'Y' || (able == 'S' && split) ? ":\tY\n" : ":\tN\n");
    }
    out += "\nOverall backend warnings: 0\n";
    return out;
}

} // namespace share
