// \dump_caps: what this program does for a client, in the order and wording of rigctld's own
// capability dump, which loggers search line by line ("Can get VFO:", "Can send Morse:").
#include "share/rigctl_commands.h"
#include "share/rigctl_modes.h"

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

std::string modeList()
{
    std::string out;
    for (int mode = 0; mode <= 8; ++mode) {
        if (const auto name = hamlibModeName(mode)) {
            out += std::string(*name) + " ";
        }
    }
    return out;
}

constexpr std::array<std::pair<std::string_view, bool>, 68> kAbilities{{
    {"Has priv data", false},
    {"Has Init", true},
    {"Has Cleanup", true},
    {"Has Open", true},
    {"Has Close", true},
    {"Can set Conf", false},
    {"Can get Conf", false},
    {"Can set Frequency", true},
    {"Can get Frequency", true},
    {"Can set Mode", true},
    {"Can get Mode", true},
    {"Can set VFO", true},
    {"Can get VFO", true},
    {"Can set PTT", true},
    {"Can get PTT", true},
    {"Can get DCD", false},
    {"Can set Repeater Duplex", false},
    {"Can get Repeater Duplex", false},
    {"Can set Repeater Offset", false},
    {"Can get Repeater Offset", false},
    {"Can set Split Freq", false},
    {"Can get Split Freq", false},
    {"Can set Split Mode", false},
    {"Can get Split Mode", false},
    {"Can set Split VFO", false},
    {"Can get Split VFO", true},
    {"Can set Tuning Step", false},
    {"Can get Tuning Step", false},
    {"Can set RIT", false},
    {"Can get RIT", false},
    {"Can set XIT", false},
    {"Can get XIT", false},
    {"Can set CTCSS", false},
    {"Can get CTCSS", false},
    {"Can set DCS", false},
    {"Can get DCS", false},
    {"Can set CTCSS Squelch", false},
    {"Can get CTCSS Squelch", false},
    {"Can set DCS Squelch", false},
    {"Can get DCS Squelch", false},
    {"Can set Power Stat", false},
    {"Can get Power Stat", true},
    {"Can Reset", false},
    {"Can get Ant", false},
    {"Can set Ant", false},
    {"Can set Transceive", false},
    {"Can get Transceive", false},
    {"Can set Func", false},
    {"Can get Func", false},
    {"Can set Level", false},
    {"Can get Level", false},
    {"Can set Param", false},
    {"Can get Param", false},
    {"Can send DTMF", false},
    {"Can recv DTMF", false},
    {"Can send Morse", false},
    {"Can send Voice", false},
    {"Can decode Events", false},
    {"Can set Bank", false},
    {"Can set Mem", false},
    {"Can get Mem", false},
    {"Can set Channel", false},
    {"Can get Channel", false},
    {"Can ctl Mem/VFO", false},
    {"Can Scan", false},
    {"Can get Info", false},
    {"Can get power2mW", false},
    {"Can get mW2power", false},
}};

} // namespace

std::string dumpCaps()
{
    const std::string modes = modeList();
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
                      "VFO list: VFOA \n"
                      "VFO Ops: \n"
                      "Scan Ops: \n"
                      "Number of banks:\t0\n"
                      "Memory name desc size:\t0\n"
                      "Memories: None\n"
                      "TX ranges #1 for radio:\n"
                      "\t30000 Hz - 199999999 Hz\n"
                      "\t\tVFO list: VFOA \n"
                      "\t\tMode list: " +
                      modes +
                      "\n"
                      "RX ranges #1 for radio:\n"
                      "\t30000 Hz - 199999999 Hz\n"
                      "\t\tVFO list: VFOA \n"
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
        out.append(ability).append(able ? ":\tY\n" : ":\tN\n");
    }
    out += "\nOverall backend warnings: 0\n";
    return out;
}

} // namespace share
