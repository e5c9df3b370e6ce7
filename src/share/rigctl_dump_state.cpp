// \dump_state: the radio's ranges, modes, filters and abilities for Hamlib's network client.
#include "civ/modes.h"
#include "share/rigctl_commands.h"
#include "share/rigctl_modes.h"
#include "share/rigctl_radio_state.h"

#include <cstdio>

namespace share {

namespace {

std::string hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

} // namespace

std::string dumpState(const RadioState& radio)
{
    const bool data = !radio.refused(Feature::Data);
    const std::string modes = hex(kHamlibModeMask | (data ? kHamlibDataModeMask : 0));
    // VFO A, and B where the radio selects it.
    const char* const vfos = radio.refused(Feature::Vfo) ? "0x1" : "0x3";
    std::string out = "1\n"  // protocol version
                      "1\n"  // model, as Hamlib's dummy radio: the program speaks for any Icom
                      "0\n"; // ITU region
    char line[96];
    std::snprintf(line, sizeof line, "30000.000000 199999999.000000 %s -1 -1 %s 0x1\n",
                  modes.c_str(), vfos);
    out += line;
    out += "0 0 0 0 0 0 0\n";
    std::snprintf(line, sizeof line, "30000.000000 199999999.000000 %s 5000 100000 %s 0x1\n",
                  modes.c_str(), vfos);
    out += line;
    out += "0 0 0 0 0 0 0\n";
    out += modes + " 1\n0 0\n";
    // Filters of each mode, medium first: Hamlib takes the first as the mode's normal width.
    for (int mode = 0; mode <= 8; ++mode) {
        const std::string bit = hex(hamlibModeBit(mode));
        for (const int filter : {2, 1, 3}) {
            if (mode == 6 && filter != 2) {
                continue;
            }
            out += bit + " " + std::to_string(passbandHz(mode, filter)) + "\n";
        }
    }
    for (const civ::Mode& mode : civ::modes()) {
        if (data && mode.data) {
            for (const int filter : {2, 1, 3}) {
                out += hex(mode.hamlibBit) + " " + std::to_string(passbandHz(mode.code, filter)) +
                       "\n";
            }
        }
    }
    out += "0 0\n"
           "0\n0\n0\n" // RIT, XIT, IF shift
           "0\n"       // announces
           "\n\n"      // preamps, attenuators
           "0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n"
           "vfo_ops=0x0\n"
           "ptt_type=0x1\n"
           "targetable_vfo=0x0\n"
           "has_set_vfo=1\n"
           "has_get_vfo=1\n"
           "has_set_freq=1\n"
           "has_get_freq=1\n"
           "has_set_conf=0\n"
           "has_get_conf=0\n"
           "has_power2mW=0\n"
           "has_mW2power=0\n"
           // Sets wait for the radio: the client adds its own margin to this.
           "timeout=3000\n"
           "rig_model=1\n"
           "rigctld_version=icom-interface\n"
           "done\n";
    return out;
}

} // namespace share
