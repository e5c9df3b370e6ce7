#!/usr/bin/env bash
# Writes the seed corpora. Parser seeds: the controller's address byte, then line traffic.
# Command seeds: the text fields of command_script.h. Monitor seeds: chunks after a control
# byte, twice the length plus 1 for queued and written. Entry seeds: Radio ID and Our ID bytes,
# then a line.
set -euo pipefail
cd "$(dirname "$0")/corpus"
mkdir -p parser commands monitor entry rigctl

seed() { printf '%b' "$2" >"$1"; }

seed parser/frequency_5_bytes '\xEA\xFE\xFE\xEA\x08\x03\x00\x40\x07\x14\x00\xFD'
seed parser/frequency_4_bytes '\xE0\xFE\xFE\xE0\x04\x03\x00\x40\x07\x14\xFD'
seed parser/modes '\xEA\xFE\xFE\xEA\x08\x04\x01\x01\xFD\xFE\xFE\xEA\x08\x04\x0B\xFD\xFE\xFE\xEA\x08\x04\xFD'
seed parser/mixed '\xEA\xFE\xFE\x08\xEA\x03\xFD\xFE\xFE\x70\x72\x05\x00\x00\x50\x45\x01\xFD\xFE\xFE\xEA\x08\xFB\xFD\xFC\x13\x37\xFE\xFE\xEA\x08\x03\x00\x40\x07\x14\x00\xFD'
seed parser/jam_mid_frame '\xEA\xFE\xFE\xEA\x08\x03\x00\xFC\xFE\xFE\xEA\x08\x03\x00\x40\x07\x14\x00\xFD'
seed parser/not_bcd '\xEA\xFE\xFE\xEA\x08\x03\xFF\xFF\xFF\xFF\xFF\xFD\xFE\xFE\xEA\x08\x03\x99\x99\x99\x99\xFD'
{
    printf '\xEA\xFE\xFE\xEA\x08\x03'
    head -c 300 /dev/zero | tr '\0' '\021'
    printf '\xFD\xFE\xFE\xEA\x08\x04\x05\xFD'
} >parser/overlong

seed commands/poll_and_set '8\n234\n14074\n0\n5\n1\n0\nfmFMtttttttttttttttttttttt'
seed commands/megahertz_4_bytes '8\n234\n7.0405\n1\n4\n9\n2\nFtettttttttttttt'
seed commands/top_of_range '148\n224\n99.9999995\n1\n4\n10\n-1\nFMfm'
seed commands/bad_address '252\n234\n1\n0\n5\n3\n1\nfm'
seed commands/fill_queue '8\n234\n9999.9999994\n1\n5\n-1\n5\nxtttt'
seed commands/other_digits ' +12\t\n\xd9\xa2\xd9\xa3\xd9\xa4\n\xef\xbc\x91\xef\xbc\x94\n\n5\n8\n2\nFFFF'
seed commands/negative_zero '8\n234\n-0\n1\n5\n0\n0\nF'
seed commands/exponent '8\n234\n1e9\n1\n5\n2147483648\n-2147483649\nFM'

seed monitor/poll_echo_reply '\x0D\xFE\xFE\x08\xEA\x03\xFD\x0C\xFE\xFE\x08\xEA\x03\xFD\x16\xFE\xFE\xEA\x08\x03\x00\x40\x07\x14\x00\xFD'
seed monitor/split_reply '\x0D\xFE\xFE\x08\xEA\x04\xFD\x06\xFE\xFE\xEA\x0A\x08\x04\x01\x01\xFD'
seed monitor/set_and_ok '\x17\xFE\xFE\x94\xE0\x05\x00\x40\x07\x14\x00\xFD\x0C\xFE\xFE\xE0\x94\xFB\xFD'
seed monitor/read_id_broadcast '\x0F\xFE\xFE\x00\xE0\x19\x00\xFD\x10\xFE\xFE\xE0\x94\x19\x00\x94\xFD'
seed monitor/jam_and_noise '\x16\x13\x37\xFE\xFE\x94\xE0\x03\x00\xFC\xFE\x00\x0C\xFE\xFE\xFE\x94\xFB\xFD'
{
    printf '\x0A\xFE\xFE\xEA\x08\x03'
    for _ in 1 2 3; do
        printf '\xFE'
        head -c 127 /dev/zero | tr '\0' '\021'
    done
    printf '\x02\xFD'
} >monitor/overlong

seed entry/command '\x5E\x7B19 00'
seed entry/whole_frame '\x5E\x7BFE FE 94 E0 19 00 FD'
seed entry/prefixes_and_pairs '\x5E\x7B0x14 0X0A 0128'
seed entry/errors '\xFF\x00FE FE 94 E0 1FF GG'

# Rigctl seeds: a control byte (bit 0: values known; above: how actions end), then client text.
seed rigctl/open_sequence '\x01\\chk_vfo\n\\dump_state\nv\nf\nf\ns\nm\n\\get_powerstat\nq\n'
seed rigctl/sets '\x00F 7074000\nM USB 2400\n\\get_lock_mode\nT 1\nt\nT 0\n'
seed rigctl/extended '\x03+f\n;m\n|\\set_freq 14074000.5\n,M CW 0\n+T 0\n'
seed rigctl/errors '\x05F\nF abc\nM XYZ -2\nX\n\x00\xff\xfe garbage\nS 1 VFOB\nV Sub\n'
seed rigctl/compound '\x01+f +m +v\nfmv\nF 14074000 f\n;F 7074000 |f ,m\n+\\get_freq +\\dump_caps\n'
seed rigctl/across_lines '\x00F\n7074000\nM USB\n\n2400 m\n;\\chk_vfo v\n+\n\nf\n'
seed rigctl/unsupported '\x07+l STRENGTH L RFPOWER 0.5 \\foo # m\nb CQ CQ\n+w FE FD\n\\send_raw a b\n1 \x8f\n'
seed rigctl/split '\x01S 1 VFOB\nI 14075000\ni\nX PKTUSB -1\nx\ns\n+S 0 VFOA\n;\\get_split_freq\n'
seed rigctl/vfo_and_data '\x03V VFOB\nf\nv\nV VFOA\nM PKTUSB 0\nm\n;M PKTFM -1\n|x\nV currVFO\n'
seed rigctl/refused '\x02S 1 VFOB\nI 7000000\nX PKTLSB 2400\nV VFOB\n\\dump_caps\n\\dump_state\n'
