// The line's notices: NGs named and cleared, present states first, silence and the port.
#include "radio/line_notices.h"

#include <gtest/gtest.h>
#include <vector>

namespace radio {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kSetFreq{0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x05, 0x04, 0x07, 0x00, 0xFD};
const Bytes kReadFreq{0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD};
const Bytes kReadMode{0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD};
const Bytes kFreqReply{0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
const Bytes kOk{0xFE, 0xFE, 0xEA, 0x08, 0xFB, 0xFD};
const Bytes kNg{0xFE, 0xFE, 0xEA, 0x08, 0xFA, 0xFD};
const Bytes kNgOf5C{0xFE, 0xFE, 0xEA, 0x5C, 0xFA, 0xFD};
const Bytes kReportOf5C{0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD};
// A program on the CI-V port, as controller E0: Hamlib's probe of 26 00, a set, and the answers.
const Bytes kProbeOfE0{0xFE, 0xFE, 0x08, 0xE0, 0x26, 0x00, 0xFD};
const Bytes kSetFreqOfE0{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x05, 0x04, 0x07, 0x00, 0xFD};
const Bytes kNgToE0{0xFE, 0xFE, 0xE0, 0x08, 0xFA, 0xFD};
const Bytes kOkToE0{0xFE, 0xFE, 0xE0, 0x08, 0xFB, 0xFD};
const Bytes kReportOf94{0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD};

// An account on an open port at 9600 bit/s, its events handed to the notices as the window
// hands them.
struct Line {
    explicit Line(bool network = false)
    {
        account.portChosen(network ? "tcp://radio:4532" : "/dev/ttyUSB0", 9600, network, 0);
        account.portOpened(0);
    }
    void send(const Bytes& frame)
    {
        const auto source = frame[3] == 0xE0 ? line::Source::CivPort : line::Source::Window;
        const line::Origin origin{source, 0, {}};
        account.written(account.queued(frame, origin, at), at);
        pass();
    }
    void hear(const Bytes& frame)
    {
        at += 20;
        account.received(frame, at);
        pass();
    }
    void pass()
    {
        for (const line::FrameEvent& event : account.takeEvents()) {
            lineNotices.take(event, 8);
        }
        lineNotices.update(notices, account,
                           {8, true, at, [this] {
                                return static_cast<int>((14 * 3600 + 3 * 60 + 5) * 1000 + at);
                            }});
    }
    void wait(line::Millis ms)
    {
        at += ms;
        account.tick(at);
        pass();
    }

    line::LinkAccount account;
    LineNotices lineNotices;
    Notices notices;
    std::string shown() const { return notices.shown().text; }

    line::Millis at = 0;
};

TEST(LineNotices, AnNgNamesTheRequestItAnswersAndClearsWhenThatCommandNextSucceeds)
{
    std::vector<Bytes> bothRefused;
    for (int poll = 0; poll < 3; ++poll) {
        bothRefused.insert(bothRefused.end(), {kReadFreq, kNg, kReadMode, kNg});
    }
    const std::pair<std::vector<Bytes>, const char*> cases[] = {
        {{kSetFreq, kNg}, "Radio 8 refused frequency 7040.5 kHz (NG) at 14:03:05"},
        {{kSetFreq, kOk, kReadFreq, kNg}, "Radio 8 refused the frequency read (NG) at 14:03:05"},
        {{kReadMode, kNg}, "Radio 8 refused the mode read (NG) at 14:03:05"},
        {{kReadFreq, kNg, kReadFreq, kFreqReply}, ""},
        {{kSetFreq, kNg, kReadFreq, kFreqReply},
         "Radio 8 refused frequency 7040.5 kHz (NG) at 14:03:05"},
        {{kSetFreq, kNg, kSetFreq, kOk}, ""},
        {{kNg}, "Radio 8 refused a command (NG) at 14:03:05"},
        {{kNg, kFreqReply}, ""},
        {{kSetFreq, kNgOf5C}, ""},
        // Another program's answers are its own: they neither make nor clear a notice.
        {{kProbeOfE0, kNgToE0}, ""},
        {{kSetFreq, kNg, kSetFreqOfE0, kOkToE0},
         "Radio 8 refused frequency 7040.5 kHz (NG) at 14:03:05"},
        // Both reads refused at every poll: one steady notice, not one NG after the other.
        {bothRefused,
         "Radio 8 has refused the frequency read and the mode read (NG) since 14:03:05"},
    };
    for (const auto& [frames, text] : cases) {
        Line line;
        for (const Bytes& frame : frames) {
            // Ours come from 0xEA, another program's on the CI-V port from 0xE0.
            frame[3] == 0xEA || frame[3] == 0xE0 ? line.send(frame) : line.hear(frame);
        }
        EXPECT_EQ(line.shown(), text);
    }
}

TEST(LineNotices, PresentStatesOutrankEarlierEvents)
{
    Line line;
    line.send(kSetFreq);
    line.hear(kNg);
    // Switched off after the NG: two polls go unanswered.
    for (int poll = 0; poll < 2; ++poll) {
        line.send(kReadFreq);
        line.send(kReadMode);
        line.wait(3000);
    }
    EXPECT_EQ(line.shown(), "No answer from radio 8 at 9600 bit/s since 14:03:05: check "
                            "rate, address, cable and power");
    // Heard again: the NG returns, dated.
    line.hear(kFreqReply);
    EXPECT_EQ(line.shown(), "Radio 8 refused frequency 7040.5 kHz (NG) at 14:03:05");
    line.wait(100);

    // Another radio keeps talking while our next poll waits in the ring.
    line.account.queued(kReadFreq, {}, line.at);
    for (int report = 0; report < 60; ++report) {
        line.hear(kReportOf94);
    }
    EXPECT_EQ(line.shown(), "Our frames have waited since 14:03:11: radio 148 keeps the "
                            "bus busy. Turn CI-V Transceive off on that radio, or slow "
                            "its reports.");
    // Told by address and dated once: the text stays put while the wait goes on.
    line.hear(kReportOf5C);
    line.wait(2000);
    EXPECT_EQ(line.shown(), "Our frames have waited since 14:03:11: radios 92 and 148 "
                            "keep the bus busy. Turn CI-V Transceive off on those radios, "
                            "or slow their reports.");

    line.account.portLost("the device was disconnected", line.at);
    line.pass();
    EXPECT_EQ(line.shown(), "Lost /dev/ttyUSB0: the device was disconnected. Choose the "
                            "port again once it is back.");
}

TEST(LineNotices, SilenceOnANetworkPortNamesNoRateAndAPortThatNeverOpenedSaysWhy)
{
    Line line(true);
    for (int poll = 0; poll < 2; ++poll) {
        line.send(kReadFreq);
        line.send(kReadMode);
        line.wait(3000);
    }
    EXPECT_EQ(line.shown(), "No answer from radio 8 since 14:03:05: check address, the "
                            "server, its cable and the radio's power");
    line.account.portFailed("Connection refused", line.at);
    line.pass();
    EXPECT_EQ(line.shown(), "Port tcp://radio:4532 did not open: Connection refused. "
                            "Choose it again under Serial Port once that is put right.");
}

} // namespace
} // namespace radio
