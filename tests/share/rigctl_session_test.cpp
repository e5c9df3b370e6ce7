// The protocol core alone: what each line answers, which lines need the radio, and that bad
// input never does.
#include "share/rigctl_listen_address.h"
#include "share/rigctl_session.h"

#include <gtest/gtest.h>

namespace share {
namespace {

using Kind = Action::Kind;

// The radio at 8 told controller E0 of 14.074 MHz, USB, filter 2, no data mode, no split,
// receiving.
RadioState knownRadio()
{
    RadioState radio;
    for (const civ::Frame& f :
         {civ::Frame{0xFE, 0xFE, 0xE0, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD},
          civ::Frame{0xFE, 0xFE, 0xE0, 0x08, 0x04, 0x01, 0x02, 0xFD},
          civ::Frame{0xFE, 0xFE, 0xE0, 0x08, 0x1A, 0x06, 0x00, 0x00, 0xFD},
          civ::Frame{0xFE, 0xFE, 0xE0, 0x08, 0x0F, 0x00, 0xFD},
          civ::Frame{0xFE, 0xFE, 0xE0, 0x08, 0x1C, 0x00, 0x00, 0xFD}}) {
        const line::FrameEvent e(line::Direction::Received, line::Kind::Frame, f);
        radio.heard(e, 0x08, 0xE0, 0);
    }
    return radio;
}

TEST(RigctlSession, CommandsAreReadOneAfterAnotherAsRigctldReadsThem)
{
    const RadioState radio = knownRadio();
    const std::pair<const char*, const char*> cases[] = {
        {"+f +m +v\n", "get_freq:\nFrequency: 14074000\nRPRT 0\nget_mode:\nMode: USB\n"
                       "Passband: 2400\nRPRT 0\nget_vfo:\nVFO: VFOA\nRPRT 0\n"},
        {"fmv\n\\get_powerstat t\r\n", "14074000\nUSB\n2400\nVFOA\n1\n0\n"},
        {";f m\n", "get_freq:;Frequency: 14074000;RPRT 0\nUSB\n2400\n"},
        {"|s,t\n", "get_split_vfo:|Split: 0|TX VFO: VFOA|RPRT 0\nget_ptt:,PTT: 0,RPRT 0\n"},
        {";\\get_powerstat\n;\\get_lock_mode\n",
         "get_powerstat:;Power Status: 1\nRPRT 0\nget_lock_mode:;Locked: 0\nRPRT 0\n"},
        {"\\chk_vfo\n\\get_lock_mode\n+\\chk_vfo\n", "0\n0\nRPRT 0\nChkVFO: 0\n"},
        // chk_vfo has no report, so the extended protocol it asked for goes on to the next.
        {";\\chk_vfo v\n", "ChkVFO: 0\n\nget_vfo:;VFO: VFOA;RPRT 0\n"},
        {"+V currVFO\nV\nVFOC S\n1\nMEM\n", "set_vfo: currVFO\nRPRT 0\nRPRT -11\nRPRT -11\n"},
        {"+l STRENGTH L RFPOWER 0.5 \\foo # m\nb CQ f\n+w FE FD\n",
         "get_level: STRENGTH\nRPRT -4\nRPRT -4\nRPRT -4\nsend_cmd: FE FD\nRPRT -4\n"},
        {"\n  \n+q\nf\n", "RPRT 0\n"},
    };
    for (const auto& [in, out] : cases) {
        RigctlSession session(radio);
        session.receive(in);
        EXPECT_EQ(session.takeOutput(), out) << in;
        EXPECT_FALSE(session.action()) << in;
    }
}

TEST(RigctlSession, SetsAndUnknownValuesWaitForTheRadioAndHoldTheLinesBehind)
{
    Action freq = Action::of(Kind::SetFrequency);
    freq.hz = 7'074'000;
    Action usb = Action::of(Kind::SetMode);
    usb.mode = 1;
    usb.filter = 2;
    Action cwNarrow = usb;
    cwNarrow.mode = 3;
    cwNarrow.filter = 3;
    Action amKeep = usb;
    amKeep.mode = 2;
    amKeep.filter.reset();
    Action tx = Action::of(Kind::SetPtt);
    tx.ptt = true;
    const RadioState known = knownRadio();
    const RadioState unknown;
    const struct {
        const RadioState& radio;
        const char* line;
        Action action;
        Outcome outcome;
        const char* out;
    } cases[] = {
        {known, "F 7074000\n", freq, Outcome::Ok, "RPRT 0\n"},
        {known, "\\set_freq 7073999.5\n", freq, Outcome::Rejected, "RPRT -9\n"},
        {known, "+F 7074000\n", freq, Outcome::Timeout, "set_freq: 7074000\nRPRT -5\n"},
        {known, "M USB 2400\n", usb, Outcome::Busy, "RPRT -14\n"},
        {known, "M USB 0\n", usb, Outcome::Dropped, "RPRT -6\n"},
        {known, "M CW 200\n", cwNarrow, Outcome::NotConfigured, "RPRT -2\n"},
        {known, "M AM -1\n", amKeep, Outcome::Ok, "RPRT 0\n"},
        {known, "T 1\n", tx, Outcome::Ok, "RPRT 0\n"},
        {unknown, "f\n", Action::of(Kind::ReadFrequency), Outcome::Ok, "RPRT -5\n"},
        {unknown, "+m\n", Action::of(Kind::ReadMode), Outcome::Rejected, "get_mode:\nRPRT -9\n"},
        {unknown, "t\n", Action::of(Kind::ReadPtt), Outcome::Timeout, "RPRT -5\n"},
    };
    for (const auto& c : cases) {
        RigctlSession session(c.radio);
        session.receive(std::string(c.line) + "\\chk_vfo\n");
        ASSERT_EQ(session.action(), c.action) << c.line;
        std::string out = session.takeOutput();
        EXPECT_EQ(out.find("RPRT"), std::string::npos) << c.line;
        session.finish(c.outcome);
        out += session.takeOutput();
        EXPECT_EQ(out, c.out + std::string("0\n")) << c.line;
        EXPECT_FALSE(session.action()) << c.line;
    }
}

TEST(RigctlSession, BadInputGetsItsCodeAndNeverReachesTheRadio)
{
    const RadioState radio = knownRadio();
    const std::pair<std::string, const char*> cases[] = {
        {"\\foo\nl RFPOWER\n\\dump_conf\n", "RPRT -4\nRPRT -4\n"},
        {"F abc F -5 F 0 F 10000000000 F 7e6 F 7.0x\n", "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n"
                                                        "RPRT -1\nRPRT -1\n"},
        {"M XYZ 2400 M USB -2 M USB wide M 1 2400 T 4 T -1 T on V foo S 2 VFOA\n",
         "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n"},
        // An argument missing from a line is the next line's first word.
        {"F\nf\nM USB\nx\nT\n\n9\n", "RPRT -1\nRPRT -1\nRPRT -1\n"},
        {std::string(5000, 'F') + "\nf\n", "RPRT -1\n14074000\n"},
        {std::string("\x01\xFE\xFF\0\x7F\xC3\x28\n", 8), ""},
        {"F\n" + std::string(300, '\n') + "f\n", "RPRT -1\n14074000\n"},
    };
    for (const auto& [in, out] : cases) {
        RigctlSession session(radio);
        session.receive(in);
        EXPECT_EQ(session.takeOutput(), out) << in.substr(0, 40);
        EXPECT_FALSE(session.action()) << in.substr(0, 40);
    }
}

TEST(RigctlSession, LinesBehindAWaitingSetAreBoundedAndAnsweredInOrder)
{
    const RadioState radio = knownRadio();
    RigctlSession session(radio);
    session.receive("F 7074000\n");
    for (int i = 0; i < 1000; ++i) {
        session.receive("f\n");
    }
    session.finish(Outcome::Ok);
    std::string expected = "RPRT 0\n";
    for (std::size_t i = 0; i < RigctlSession::kMaxWaiting; ++i) {
        expected += "14074000\n";
    }
    for (std::size_t i = RigctlSession::kMaxWaiting; i < 1000; ++i) {
        expected += "RPRT -14\n";
    }
    EXPECT_EQ(session.takeOutput(), expected);
}

TEST(ListenAddress, HostDefaultsToLoopbackAndOnlyOtherHostsAreWarnedOf)
{
    const std::tuple<const char*, const char*, int, bool> good[] = {
        {"", "127.0.0.1", 4532, false},          {"4533", "127.0.0.1", 4533, false},
        {"0.0.0.0:4532", "0.0.0.0", 4532, true}, {"[::1]:80", "::1", 80, false},
        {"localhost:0", "localhost", 0, false},  {"192.168.1.5:4532", "192.168.1.5", 4532, true},
        {"127.0.0.2:1", "127.0.0.2", 1, false},  {"[::]:4532", "::", 4532, true},
    };
    for (const auto& [text, host, port, warned] : good) {
        const auto a = parseListenAddress(text);
        ASSERT_TRUE(a) << text;
        EXPECT_EQ(a->host, host);
        EXPECT_EQ(a->port, port);
        EXPECT_EQ(!exposureWarning(*a).empty(), warned) << text;
    }
    for (const char* bad : {"abc", ":4532", "host:", "host:65536", "4532x", "-1"}) {
        EXPECT_FALSE(parseListenAddress(bad)) << bad;
    }
}

} // namespace
} // namespace share
