// Every command of Hamlib 4.5's rigctld: its names, how many words it reads, and whether it is
// a read; the few this program carries out name their Command.
#include "share/rigctl_commands.h"

#include <array>

namespace share {

namespace {

using C = Command;

constexpr CommandInfo set(unsigned char code, std::string_view name, std::size_t args,
                          std::optional<Command> ours = std::nullopt)
{
    return {code, name, args, false, false, ours};
}

constexpr CommandInfo get(unsigned char code, std::string_view name, std::size_t args = 0,
                          std::optional<Command> ours = std::nullopt)
{
    return {code, name, args, false, true, ours};
}

constexpr std::array kCommands{
    set('F', "set_freq", 1, C::SetFreq),
    get('f', "get_freq", 0, C::GetFreq),
    set('M', "set_mode", 2, C::SetMode),
    get('m', "get_mode", 0, C::GetMode),
    set('I', "set_split_freq", 1, C::SetSplitFreq),
    get('i', "get_split_freq", 0, C::GetSplitFreq),
    set('X', "set_split_mode", 2, C::SetSplitMode),
    get('x', "get_split_mode", 0, C::GetSplitMode),
    set('K', "set_split_freq_mode", 3),
    get('k', "get_split_freq_mode"),
    set('S', "set_split_vfo", 2, C::SetSplitVfo),
    get('s', "get_split_vfo", 0, C::GetSplitVfo),
    set('N', "set_ts", 1),
    get('n', "get_ts"),
    set('L', "set_level", 2),
    get('l', "get_level", 1),
    set('U', "set_func", 2),
    get('u', "get_func", 1),
    set('P', "set_parm", 2),
    get('p', "get_parm", 1),
    set('G', "vfo_op", 1),
    set('g', "scan", 2),
    set('A', "set_trn", 1),
    get('a', "get_trn"),
    set('R', "set_rptr_shift", 1),
    get('r', "get_rptr_shift"),
    set('O', "set_rptr_offs", 1),
    get('o', "get_rptr_offs"),
    set('C', "set_ctcss_tone", 1),
    get('c', "get_ctcss_tone"),
    set('D', "set_dcs_code", 1),
    get('d', "get_dcs_code"),
    set(0x90, "set_ctcss_sql", 1),
    get(0x91, "get_ctcss_sql"),
    set(0x92, "set_dcs_sql", 1),
    get(0x93, "get_dcs_sql"),
    set('V', "set_vfo", 1, C::SetVfo),
    get('v', "get_vfo", 0, C::GetVfo),
    set('T', "set_ptt", 1, C::SetPtt),
    get('t', "get_ptt", 0, C::GetPtt),
    set('E', "set_mem", 1),
    get('e', "get_mem"),
    set('H', "set_channel", 1),
    set('h', "get_channel", 2),
    set('B', "set_bank", 1),
    get('_', "get_info"),
    set('J', "set_rit", 1),
    get('j', "get_rit"),
    set('Z', "set_xit", 1),
    get('z', "get_xit"),
    set('Y', "set_ant", 2),
    get('y', "get_ant", 1),
    set(0x87, "set_powerstat", 1),
    get(0x88, "get_powerstat", 0, C::GetPowerstat),
    set(0x89, "send_dtmf", 1),
    get(0x8a, "recv_dtmf"),
    set('*', "reset", 1),
    CommandInfo{'w', "send_cmd", 1, true, true, std::nullopt},
    get('W', "send_cmd_rx", 2),
    CommandInfo{'b', "send_morse", 1, true, false, std::nullopt},
    set(0xbb, "stop_morse", 0),
    set(0xbc, "wait_morse", 0),
    set(0x94, "send_voice_mem", 1),
    get(0x8b, "get_dcd"),
    set(0x8d, "set_twiddle", 1),
    get(0x8e, "get_twiddle"),
    set(0x97, "uplink", 1),
    set(0x95, "set_cache", 1),
    get(0x96, "get_cache"),
    get('2', "power2mW", 3),
    get('4', "mW2power", 3),
    set('1', "dump_caps", 0, C::DumpCaps),
    set('3', "dump_conf", 0),
    get(0x8f, "dump_state", 0, C::DumpState),
    set(0xf0, "chk_vfo", 0, C::ChkVfo),
    set(0xf2, "set_vfo_opt", 1),
    get(0xf3, "get_vfo_info", 1),
    get(0xf5, "get_rig_info"),
    get(0xf4, "get_vfo_list"),
    get(0xf6, "get_modes"),
    set(0xf9, "get_clock", 0),
    set(0xf8, "set_clock", 1),
    set(0xf1, "halt", 0),
    set(0x8c, "pause", 1),
    set(0x98, "password", 1),
    set(0xf7, "get_mode_bandwidths", 1),
    set(0xa0, "set_separator", 1),
    set(0xa1, "get_separator", 0),
    set(0xa2, "set_lock_mode", 1),
    set(0xa3, "get_lock_mode", 0, C::GetLockMode),
    get(0xa4, "send_raw", 2),
};

} // namespace

const CommandInfo* commandByCode(unsigned char code)
{
    for (const CommandInfo& c : kCommands) {
        if (c.code == code) {
            return &c;
        }
    }
    return nullptr;
}

const CommandInfo* commandByName(std::string_view name)
{
    for (const CommandInfo& c : kCommands) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace share
