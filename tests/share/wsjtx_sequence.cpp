// What WSJT-X asks of a radio through Hamlib's network client with split "Rig" and data mode:
// run against a server, it ends 0 only when every call succeeds.
#include <cstdio>
#include <hamlib/rig.h>
#include <string>

namespace {

bool step(const char* what, int code)
{
    if (code != RIG_OK) {
        std::fprintf(stderr, "%s: %s\n", what, rigerror(code));
    }
    return code == RIG_OK;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: wsjtx_sequence HOST:PORT\n");
        return 2;
    }
    rig_set_debug(RIG_DEBUG_NONE);
    RIG* const rig = rig_init(RIG_MODEL_NETRIGCTL);
    if (!rig ||
        !step("set_conf", rig_set_conf(rig, rig_token_lookup(rig, "rig_pathname"), argv[1]))) {
        return 1;
    }
    // rig_open sends \chk_vfo and \dump_state and reads the radio's state.
    bool ok = step("open", rig_open(rig));
    vfo_t vfo = RIG_VFO_NONE;
    freq_t rx = 0;
    freq_t tx = 0;
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t width = 0;
    ok = ok && step("get_vfo", rig_get_vfo(rig, &vfo));
    ok = ok && step("set_freq", rig_set_freq(rig, RIG_VFO_CURR, 14'074'000));
    ok = ok && step("set_split_vfo on", rig_set_split_vfo(rig, RIG_VFO_A, RIG_SPLIT_ON, RIG_VFO_B));
    ok = ok && step("set_split_freq", rig_set_split_freq(rig, RIG_VFO_CURR, 14'075'500));
    ok = ok &&
         step("set_mode", rig_set_mode(rig, RIG_VFO_CURR, RIG_MODE_PKTUSB, RIG_PASSBAND_NOCHANGE));
    ok = ok && step("set_split_mode",
                    rig_set_split_mode(rig, RIG_VFO_CURR, RIG_MODE_PKTUSB, RIG_PASSBAND_NOCHANGE));
    ok = ok && step("get_freq", rig_get_freq(rig, RIG_VFO_CURR, &rx));
    ok = ok && step("get_split_freq", rig_get_split_freq(rig, RIG_VFO_CURR, &tx));
    ok = ok && step("get_mode", rig_get_mode(rig, RIG_VFO_CURR, &mode, &width));
    ok = ok && step("ptt on", rig_set_ptt(rig, RIG_VFO_CURR, RIG_PTT_ON));
    ok = ok && step("ptt off", rig_set_ptt(rig, RIG_VFO_CURR, RIG_PTT_OFF));
    ok = ok &&
         step("set_split_vfo off", rig_set_split_vfo(rig, RIG_VFO_A, RIG_SPLIT_OFF, RIG_VFO_A));
    std::printf("%.0f %.0f %s\n", rx, tx, rig_strrmode(mode));
    rig_close(rig);
    rig_cleanup(rig);
    return ok ? 0 : 1;
}
