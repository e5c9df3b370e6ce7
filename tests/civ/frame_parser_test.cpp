#include "civ/frame_parser.h"

#include <gtest/gtest.h>
#include <vector>

namespace civ {
namespace {

using Event = FrameParser::Event;

std::vector<Event> feed(FrameParser& p, const std::vector<int>& bytes)
{
    std::vector<Event> events;
    for (const int b : bytes) {
        events.push_back(p.ParseByte(b));
    }
    return events;
}

std::vector<int> data(const FrameParser& p)
{
    return {p.parseMsg.begin(), p.parseMsg.begin() + p.parseMsgLength};
}

TEST(FrameParser, AssemblesFrameFields)
{
    FrameParser p;
    const auto events = feed(p, {0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
    EXPECT_EQ(events.back(), Event::FrameEnd);
    for (std::size_t i = 0; i + 1 < events.size(); ++i) {
        EXPECT_EQ(events[i], Event::None) << "byte " << i;
    }
    EXPECT_EQ(p.parseToID, 0xEA);
    EXPECT_EQ(p.parseFromID, 0x5C);
    EXPECT_EQ(p.parseCmd, 0x03);
    EXPECT_EQ(data(p), (std::vector<int>{0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(p.parseState, 0);
}

TEST(FrameParser, FrameWithoutDataEnds)
{
    FrameParser p;
    EXPECT_EQ(feed(p, {0xFE, 0xFE, 0x08, 0xEA, 0xFB, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(p.parseCmd, 0xFB);
    EXPECT_EQ(p.parseMsgLength, 0);
}

TEST(FrameParser, ThirdPreambleIsTakenAsDestination)
{
    FrameParser p;
    EXPECT_EQ(feed(p, {0xFE, 0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(p.parseToID, 0xFE);
    EXPECT_EQ(p.parseFromID, 0xEA);
    EXPECT_EQ(p.parseCmd, 0x5C);
    EXPECT_EQ(data(p), std::vector<int>{0x03});
}

TEST(FrameParser, HeaderFieldsTakeAnyByteButJam)
{
    FrameParser p;
    EXPECT_EQ(feed(p, {0xFE, 0xFE, 0xFD, 0xFD, 0xFE, 0xFE, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(p.parseToID, 0xFD);
    EXPECT_EQ(p.parseFromID, 0xFD);
    EXPECT_EQ(p.parseCmd, 0xFE);
    EXPECT_EQ(data(p), std::vector<int>{0xFE});
}

TEST(FrameParser, NoiseBeforePreambleIsSkipped)
{
    FrameParser p;
    EXPECT_EQ(feed(p, {0x00, 0xFE, 0x13, 0xFD, 0xFE, 0xFE, 0x01, 0x02, 0x04, 0xFD}).back(),
              Event::FrameEnd);
    EXPECT_EQ(p.parseToID, 0x01);
    EXPECT_EQ(p.parseCmd, 0x04);
}

class FrameParserJam : public ::testing::TestWithParam<int> {};

// Whatever the state, the jam code drops the frame and the next one parses cleanly.
TEST_P(FrameParserJam, DropsFrameInAnyState)
{
    const std::vector<int> prefix = {0xFE, 0xFE, 0x08, 0xEA, 0x03, 0x11, 0x22};
    FrameParser p;
    feed(p, std::vector<int>(prefix.begin(), prefix.begin() + GetParam()));
    EXPECT_EQ(p.ParseByte(0xFC), Event::Jam);
    EXPECT_EQ(p.parseState, 0);
    EXPECT_EQ(feed(p, {0xFD}).back(), Event::None);
    EXPECT_EQ(feed(p, {0xFE, 0xFE, 0x01, 0x02, 0x04, 0x33, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(p.parseCmd, 0x04);
    EXPECT_EQ(data(p), std::vector<int>{0x33});
}

INSTANTIATE_TEST_SUITE_P(PrefixLengths, FrameParserJam, ::testing::Range(0, 8));

TEST(FrameParser, JamIsNotAPreamble)
{
    FrameParser p;
    feed(p, {0xFE, 0xFE, 0xFC});
    EXPECT_EQ(p.parseState, 0);
    p.ParseByte(0xFE);
    EXPECT_EQ(p.parseState, 1);
}

TEST(FrameParser, BytesSplitAcrossCallsParseAlike)
{
    FrameParser p;
    feed(p, {0xFE, 0xFE, 0xEA});
    feed(p, {0x08, 0x04});
    EXPECT_EQ(feed(p, {0x01, 0x02, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(data(p), (std::vector<int>{0x01, 0x02}));
}

TEST(FrameParser, FullBufferIsStillAnOrdinaryFrame)
{
    FrameParser p;
    feed(p, {0xFE, 0xFE, 0xEA, 0x08, 0x03});
    feed(p, std::vector<int>(FrameParser::kMsgUpperBound + 1, 0x42));
    EXPECT_EQ(p.ParseByte(0xFD), Event::FrameEnd);
    EXPECT_EQ(p.parseMsgLength, FrameParser::kMsgUpperBound + 1);
}

TEST(FrameParser, OverlongFrameIsFlaggedAndBufferNotOverrun)
{
    FrameParser p;
    feed(p, {0xFE, 0xFE, 0xEA, 0x08, 0x03});
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(p.ParseByte(i % 0xFC), Event::None);
    }
    EXPECT_EQ(p.parseMsgLength, FrameParser::kMsgUpperBound + 1);
    EXPECT_EQ(p.parseMsg.back(), FrameParser::kMsgUpperBound % 0xFC);
    EXPECT_EQ(p.ParseByte(0xFD), Event::OverlongFrameEnd);

    // The flag belongs to that frame only.
    EXPECT_EQ(feed(p, {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x07, 0xFD}).back(), Event::FrameEnd);
    EXPECT_EQ(data(p), std::vector<int>{0x07});
}

} // namespace
} // namespace civ
