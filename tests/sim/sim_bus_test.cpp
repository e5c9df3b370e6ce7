#include "sim_bus.h"
#include "traffic.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace civsim {
namespace {

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

std::vector<Bytes> encoded(const std::vector<Frame>& frames)
{
    std::vector<Bytes> out;
    out.reserve(frames.size());
    for (const Frame& frame : frames) {
        out.push_back(frame.encode());
    }
    return out;
}

const Bytes kRead08{0xFE, 0xFE, 0x08, 0xE0, 0x03, 0xFD};
const Bytes kMode08{0xFE, 0xFE, 0x08, 0xE0, 0x04, 0xFD};
const Bytes kFreqFrom08{0xFE, 0xFE, 0xE0, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
const Bytes kModeFrom08{0xFE, 0xFE, 0xE0, 0x08, 0x04, 0x01, 0x01, 0xFD};

SimBus oneRadio(bool echo)
{
    return SimBus({Radio(RadioConfig{})}, echo);
}

TEST(SimBus, EchoesEveryByteAndRepliesInOrder)
{
    SimBus bus = oneRadio(true);
    const Bytes wire = concat({{0x00, 0x13}, kRead08, kMode08});
    const auto out = bus.receive(wire);
    EXPECT_EQ(out.echo, wire);
    EXPECT_EQ(encoded(out.received), (std::vector<Bytes>{kRead08, kMode08}));
    EXPECT_EQ(encoded(out.replies), (std::vector<Bytes>{kFreqFrom08, kModeFrom08}));
}

TEST(SimBus, WithoutEchoOnlyRepliesComeBack)
{
    SimBus bus = oneRadio(false);
    const auto out = bus.receive(kRead08);
    EXPECT_TRUE(out.echo.empty());
    EXPECT_EQ(encoded(out.replies), std::vector<Bytes>{kFreqFrom08});
}

TEST(SimBus, FrameSplitAcrossReadsIsAnsweredOnceComplete)
{
    SimBus bus = oneRadio(true);
    const Bytes head(kRead08.begin(), kRead08.begin() + 4);
    const Bytes tail(kRead08.begin() + 4, kRead08.end());

    const auto first = bus.receive(head);
    EXPECT_EQ(first.echo, head);
    EXPECT_TRUE(first.replies.empty());
    EXPECT_TRUE(bus.receiving());

    const auto second = bus.receive(tail);
    EXPECT_EQ(second.echo, tail);
    EXPECT_EQ(encoded(second.replies), std::vector<Bytes>{kFreqFrom08});
    EXPECT_FALSE(bus.receiving());
}

TEST(SimBus, EachRadioAnswersItsOwnAddress)
{
    SimBus bus({Radio(RadioConfig{}), Radio(RadioConfig{0x94, 7'040'000, 0x03, 2, 4})}, false);
    const auto out = bus.receive(concat(
        {kRead08, {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD}, {0xFE, 0xFE, 0x70, 0xE0, 0x03, 0xFD}}));
    EXPECT_EQ(encoded(out.replies),
              (std::vector<Bytes>{kFreqFrom08,
                                  {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x00, 0x04, 0x07, 0xFD}}));
}

TEST(SimBus, BroadcastReachesEveryRadioWithoutReply)
{
    SimBus bus({Radio(RadioConfig{}), Radio(RadioConfig{0x94, 7'040'000, 0x03, 2, 5})}, false);
    const auto out = bus.receive(Bytes{0xFE, 0xFE, 0x00, 0xE0, 0x06, 0x05, 0x01, 0xFD});
    EXPECT_TRUE(out.replies.empty());
    for (const Radio& radio : bus.radios()) {
        EXPECT_EQ(radio.mode(), 0x05) << "radio " << int(radio.address());
    }
}

TEST(SimBus, RadiosFollowEachOthersTransceiveReports)
{
    SimBus bus({Radio(RadioConfig{}, true), Radio(RadioConfig{0x94, 7'040'000, 0x03, 2, 5}, true)},
               false);
    const auto out =
        bus.receive(Bytes{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_EQ(encoded(out.replies), (std::vector<Bytes>{{0xFE, 0xFE, 0xE0, 0x08, 0xFB, 0xFD},
                                                        {0xFE, 0xFE, 0x00, 0x08, 0x00, 0x00, 0x00,
                                                         0x10, 0x07, 0x00, 0xFD}}));
    EXPECT_EQ(bus.radios()[1].frequency(), 7'100'000u);
}

TEST(Traffic, FloodMixesOtherStationsWithReportsToController)
{
    const std::vector<Radio> radios{Radio(RadioConfig{0x70, 3'573'000, 1, 1, 5}),
                                    Radio(RadioConfig{})};
    FloodSource flood(0xE0, radios);
    std::set<std::uint8_t> reporters;
    std::set<std::uint8_t> others;
    for (int i = 0; i < 40; ++i) {
        const Frame frame = flood.next(radios);
        if (frame.dest == 0xE0) {
            reporters.insert(frame.src);
            EXPECT_EQ(frame, radios[frame.src == 0x70 ? 0 : 1].frequencyReport(0xE0));
        } else {
            others.insert(frame.dest);
            others.insert(frame.src);
        }
    }
    EXPECT_EQ(reporters, (std::set<std::uint8_t>{0x08, 0x70}));
    EXPECT_EQ(others, (std::set<std::uint8_t>{0x72, 0x74})) << "must not pose as our radios";
}

TEST(Traffic, NoiseNeverFramesOrJams)
{
    std::mt19937 rng(1234);
    for (int i = 0; i < 2000; ++i) {
        const Bytes noise = noiseBurst(rng);
        ASSERT_GE(noise.size(), 1u);
        ASSERT_LE(noise.size(), 4u);
        EXPECT_TRUE(
            std::all_of(noise.begin(), noise.end(), [](std::uint8_t b) { return b < kJam; }));
    }
}

} // namespace
} // namespace civsim
