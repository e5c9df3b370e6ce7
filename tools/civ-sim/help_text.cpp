// civ-sim's --help text: every option, with examples.
#include "options.h"

namespace civsim {

std::string helpText()
{
    return R"(Usage: civ-sim [OPTIONS]

Simulates a CI-V bus with one or more Icom radios on it. By default it opens a
pseudo-terminal and prints the path to open as the first line of output; it
runs until interrupted (SIGINT or SIGTERM).

Line:
  --link PATH            also reach the pseudo-terminal through the symbolic
                         link PATH, printed instead of the pty's own path, so
                         a restarted simulator keeps the name a program uses
                           civ-sim --link /tmp/civ-bus
  --device PATH          drive an existing serial port instead (8N1, raw)
                           civ-sim --device /dev/ttyUSB0 --baud 19200
  --baud N               line rate for --device and for --flood pacing
                         (default 57600)
                           civ-sim --baud 9600 --flood
  --rate N               the radios' own line rate (300 ... 57600, 115200).
                         On the pseudo-terminal the rate the program set on
                         its side is read back: the radios answer only when
                         the two agree; otherwise they hear what a receiver at
                         N makes of the program's bytes, and the program gets
                         what its rate makes of theirs: nothing, or a few
                         wrong bytes. The echo is not affected. With --device
                         the physical line decides: N is the device's rate,
                         as --baud. Not with --listen: a TCP client's line
                         rate cannot be seen from here.
                           civ-sim --rate 19200 --radio 0x94
                           civ-sim --rate 115200   (a radio's USB port at its
                                                    fastest, beyond 57600)
  --listen HOST:PORT     serve the bus to one TCP client at a time; port 0
                         picks a free port, printed as tcp://HOST:PORT
                           civ-sim --listen 127.0.0.1:0
  --echo on|off|garble   hand back every byte the controller sends, as a
                         one-wire interface does (default on); garble hands
                         them back with a bit flipped, as a bad cable would
                           civ-sim --echo off
                           civ-sim --echo garble

Radios:
  --radio ADDR[,freq=HZ][,mode=M][,filter=F][,bytes=4|5][,readid=no]
          [,vfo=no][,split=no][,data=no][,vfocmd=no]
                         a radio at bus address ADDR (decimal or 0x hex);
                         repeat for more radios. Mode is a code (0x01) or a
                         name: LSB USB AM CW RTTY FM WFM CW-R RTTY-R S-AM.
                         Filter 1..3. bytes is the frequency data length.
                         readid=no: a radio without read ID (19 00), as the
                         IC-735 and IC-706 families; it ignores one sent to
                         all radios and answers NG to its own.
                         Default: one radio 0x08,freq=14074000,mode=1,filter=1,bytes=5
                           civ-sim --radio 0x94 --radio 0x04,freq=7040000,mode=CW,bytes=4
                           civ-sim --radio 0x04,bytes=4,readid=no
                         Each radio has VFO A and B (07: 00, 01, A0 copy,
                         B0 exchange) and a transmitter (1C 00 reads it,
                         1C 00 01 and 1C 00 00 switch it), for Hamlib,
                         split (0F), data mode (1A 06) and the frequency and
                         mode of either VFO (25, 26). vfo=no, split=no,
                         data=no and vfocmd=no make it refuse (NG) 07, 0F,
                         1A 06 or 25 and 26, as older radios do.
                           civ-sim --radio 0x56,data=no,vfocmd=no
  --transceive           a radio tells everyone (address 00) of each change of
                         its frequency or mode, set or dialled
                           civ-sim --transceive
  --dial-every SECONDS   the operator turns each radio's dial up 1 kHz now and
                         then; reported with --transceive
                           civ-sim --dial-every 2 --transceive
  --range LOW-HIGH       radios refuse (NG) a set frequency outside LOW..HIGH Hz
                           civ-sim --range 1800000-29700000
  --off                  the radios start switched off and answer nothing;
                         SIGUSR1 switches them on and off again
                           civ-sim --off    (then: kill -USR1 PID)

Faults and load:
  --jam-every SECONDS    put the jam code FC on the line periodically
                           civ-sim --jam-every 2.5
  --noise-every SECONDS  put a few random non-frame bytes on the line
                           civ-sim --noise-every 0.5
  --reply-delay MS       hold every reply for MS milliseconds: late replies
                           civ-sim --reply-delay 600
  --lose-every N         every Nth reply to the controller is lost (reports to
                         all are not replies: they always come)
                           civ-sim --lose-every 10
  --lose-random P        each reply is lost with the chance P (0 < P <= 1)
                           civ-sim --lose-random 0.2 --seed 7
  --cut-every N          every Nth reply is cut short (its first bytes, without
                         the end byte FD), then sent whole, as after a glitch
                           civ-sim --cut-every 3
  --flip-echo-bit        the echo of each frame comes back with the lowest bit
                         of its destination flipped: still a frame, but not
                         the one sent
                           civ-sim --flip-echo-bit
  --net-delay MS|LOW-HIGH
                         with --listen: hold what goes each way MS ms, or from
                         LOW to HIGH ms at random, in order, as a slow network
                         link does; the echo comes back after both ways
                           civ-sim --listen 127.0.0.1:0 --net-delay 180-200
  --seed S               the random faults and noise follow S, the same at
                         each run (default: different each run)
                           civ-sim --lose-random 0.1 --noise-every 1 --seed 42
  --collide jam|merge    radios answering a read ID to all radios at once
                         collide: each sends the jam code (jam), or the line
                         carries their bytes merged, a 0 bit winning (merge);
                         takes two radios or more
                           civ-sim --radio 0x94 --radio 0xA4 --collide merge
  --chatter-every SECONDS
                         another station reports its frequency to all this
                         often; under 0.1 s the bus is never quiet long
                         enough for the program's frames to leave
                           civ-sim --chatter-every 0.08
  --flood                keep the line full of valid traffic: other stations
                         talking, and unsolicited frequency reports
                           civ-sim --flood
  --controller ADDR      controller address that flood reports go to
                         (default 0xEA)
                           civ-sim --controller 0xE0 --flood

Other:
  --log                  print every frame received and sent to stderr
                           civ-sim --log
  --help                 show this text
                           civ-sim --help
  --version              show the version
                           civ-sim --version

Exit status: 0 on a signal or --help, 2 on a bad option, 1 on a line error.
)";
}

} // namespace civsim
