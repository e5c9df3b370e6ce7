// What WSJT-X asks of a radio through Hamlib's network client with split "Rig" and data mode:
// run against a server, it ends 0 only when every call succeeds.
#include <cstdio>
#include <functional>
#include <hamlib/rig.h>
#include <utility>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: wsjtx_sequence HOST:PORT\n");
        return 2;
    }
    rig_set_debug(RIG_DEBUG_NONE);
    RIG* const rig = rig_init(RIG_MODEL_NETRIGCTL);
    freq_t tx = 0;
    const vfo_t curr = RIG_VFO_CURR;
    // rig_open sends \chk_vfo and \dump_state and reads the radio's state.
    const std::pair<const char*, std::function<int()>> calls[] = {
        {"conf", [&] { return rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), argv[1]); }},
        {"open", [&] { return rig_open(rig); }},
        {"freq", [&] { return rig_set_freq(rig, curr, 14'074'000); }},
        {"split on", [&] { return rig_set_split_vfo(rig, curr, RIG_SPLIT_ON, RIG_VFO_B); }},
        {"split freq", [&] { return rig_set_split_freq(rig, curr, 14'075'500); }},
        {"mode", [&] { return rig_set_mode(rig, curr, RIG_MODE_PKTUSB, RIG_PASSBAND_NOCHANGE); }},
        {"split mode",
         [&] { return rig_set_split_mode(rig, curr, RIG_MODE_PKTUSB, RIG_PASSBAND_NOCHANGE); }},
        {"get split freq", [&] { return rig_get_split_freq(rig, curr, &tx); }},
        {"ptt on", [&] { return rig_set_ptt(rig, curr, RIG_PTT_ON); }},
        {"ptt off", [&] { return rig_set_ptt(rig, curr, RIG_PTT_OFF); }},
        {"split off", [&] { return rig_set_split_vfo(rig, curr, RIG_SPLIT_OFF, RIG_VFO_A); }},
    };
    for (const auto& [what, call] : calls) {
        if (const int code = call(); code != RIG_OK) {
            std::fprintf(stderr, "%s: %s\n", what, rigerror(code));
            return 1;
        }
    }
    std::printf("%.0f\n", tx);
    rig_close(rig);
    rig_cleanup(rig);
    return 0;
}
