#include "bcd.h"
#include "bus_parser.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace civsim {
namespace {

std::vector<Frame> feed(BusParser& parser, const Bytes& bytes)
{
    std::vector<Frame> frames;
    for (const std::uint8_t b : bytes) {
        if (auto frame = parser.push(b)) {
            frames.push_back(*frame);
        }
    }
    return frames;
}

const Frame kReadFrequency{0x08, 0xE0, 0x03, {}};

TEST(BusParser, AssemblesFrameFedOneByteAtATime)
{
    BusParser parser;
    const Bytes wire{0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
    for (std::size_t i = 0; i + 1 < wire.size(); ++i) {
        EXPECT_FALSE(parser.push(wire[i])) << "at byte " << i;
        EXPECT_TRUE(parser.inFrame());
    }
    const auto frame = parser.push(wire.back());
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, (Frame{0x08, 0xE0, 0x05, {0x00, 0x40, 0x07, 0x14, 0x00}}));
    EXPECT_EQ(frame->encode(), wire);
    EXPECT_FALSE(parser.inFrame());
}

TEST(BusParser, JamDropsFrameInProgress)
{
    BusParser parser;
    const auto frames = feed(parser, {0xFE, 0xFE, 0x08, 0xE0, 0xFC, 0x03, 0xFD, // jammed
                                      0xFE, 0xFC, 0xFE, 0x08, 0xE0, 0x03, 0xFD, // jam in preamble
                                      0xFE, 0xFE, 0x08, 0xE0, 0x03, 0xFD});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], kReadFrequency);
    EXPECT_EQ(parser.droppedFrames(), 1u);
}

TEST(BusParser, SkipsGarbageAndResyncsOnPreamble)
{
    BusParser parser;
    const auto frames = feed(parser, {0x00, 0x12, 0xFD, 0xFE, 0x55, 0xFD,       // garbage
                                      0xFE, 0xFE, 0xFE, 0x08, 0xE0, 0x03, 0xFD, // long preamble
                                      0x42, 0xFE, 0xFE, 0x08, 0xE0, 0xFE, 0xFE, 0x08, // restart
                                      0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0x08, 0xFD});     // too short
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], kReadFrequency);
    EXPECT_EQ(frames[1], kReadFrequency);
    EXPECT_EQ(parser.droppedFrames(), 2u);
}

TEST(BusParser, DiscardsOverlongFrameAndRecovers)
{
    const auto frameOfSize = [](std::size_t total) {
        Bytes wire(total, 0x11);
        const Bytes head{0xFE, 0xFE, 0x08, 0xE0, 0x1A};
        std::copy(head.begin(), head.end(), wire.begin());
        wire.back() = 0xFD;
        return wire;
    };

    BusParser parser;
    const auto longest = feed(parser, frameOfSize(BusParser::kMaxFrameBytes));
    ASSERT_EQ(longest.size(), 1u);
    EXPECT_EQ(longest[0].data.size(), BusParser::kMaxFrameBytes - 6);

    Bytes wire = frameOfSize(BusParser::kMaxFrameBytes + 1);
    const Bytes next = kReadFrequency.encode();
    wire.insert(wire.end(), next.begin(), next.end());
    const auto frames = feed(parser, wire);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], kReadFrequency);
    EXPECT_EQ(parser.droppedFrames(), 1u);
}

TEST(Bcd, EncodesLeastSignificantPairFirst)
{
    EXPECT_EQ(encodeFrequency(14'074'000, 5), (Bytes{0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(encodeFrequency(14'074'000, 4), (Bytes{0x00, 0x40, 0x07, 0x14}));
    EXPECT_EQ(encodeFrequency(1'296'123'450, 5), (Bytes{0x50, 0x34, 0x12, 0x96, 0x12}));
    EXPECT_EQ(maxFrequency(4), 99'999'999u);
    EXPECT_EQ(maxFrequency(5), 9'999'999'999u);
}

TEST(Bcd, DecodesAndRejectsNonDecimalNibbles)
{
    EXPECT_EQ(decodeFrequency(Bytes{0x00, 0x40, 0x07, 0x14, 0x00}), 14'074'000u);
    EXPECT_EQ(decodeFrequency(Bytes{0x99, 0x99, 0x99, 0x99}), 99'999'999u);
    EXPECT_FALSE(decodeFrequency(Bytes{0x00, 0x4A, 0x07, 0x14}));
    EXPECT_FALSE(decodeFrequency(Bytes{0x00, 0x40, 0x07, 0xA4}));
}

} // namespace
} // namespace civsim
