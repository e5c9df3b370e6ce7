#include "monitor/frame_log.h"

#include <gtest/gtest.h>
#include <vector>

namespace monitor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Stamp at(std::chrono::milliseconds ms)
{
    return {std::chrono::steady_clock::time_point(ms), std::chrono::system_clock::time_point(ms)};
}

struct Row {
    Kind kind;
    Bytes bytes;
    std::size_t wireLength;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rows(const FrameLog& log)
{
    std::vector<Row> out;
    for (std::uint64_t id = log.firstId(); id < log.endId(); ++id) {
        const Entry e = log.entry(id);
        out.push_back({e.kind, e.bytes, e.wireLength});
    }
    return out;
}

TEST(FrameLog, KeepsTheNewestHundredThousandRows)
{
    FrameLog log;
    for (int i = 0; i <= 100000; ++i) {
        const auto tag = static_cast<std::uint8_t>(i % 200);
        log.received(Bytes{0xFE, 0xFE, 0x00, 0x94, 0x01, tag, 0xFD}, at(1ms));
    }
    EXPECT_EQ(log.endId() - log.firstId(), 100000U);
    EXPECT_EQ(log.firstId(), 1U);
    EXPECT_EQ(log.entry(log.firstId()).bytes[5], 1);
    EXPECT_EQ(log.entry(log.endId() - 1).bytes[5], 100000 % 200);
}

TEST(FrameLog, CutsTheLineAlikeHoweverItIsRead)
{
    Bytes line{0x13, 0x37, 0xFE, 0xFE, 0x94, 0xE0, 0x03, 0x00, 0xFC, 0xFE, 0x00,
               0xFE, 0xFE, 0xFE, 0x94, 0xFB, 0xFD, 0xFE, 0xFE, 0xE0, 0x94, 0x03};
    line.insert(line.end(), 300, 0x11);
    line.push_back(0xFD);
    line.push_back(0xAA);

    FrameLog whole;
    whole.received(line, at(0ms));
    FrameLog byByte;
    for (const std::uint8_t b : line) {
        byByte.received(Bytes{b}, at(0ms));
    }
    Bytes overlongHead(line.begin() + 17, line.begin() + 17 + 263);
    const std::vector<Row> expected{
        {Kind::Stray, {0x13, 0x37}, 2},
        {Kind::Stray, {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0x00}, 6},
        {Kind::Jam, {0xFC}, 1},
        {Kind::Stray, {0xFE, 0x00}, 2},
        {Kind::Frame, {0xFE, 0xFE, 0xFE, 0x94, 0xFB, 0xFD}, 6},
        {Kind::Overlong, overlongHead, 306},
    };
    EXPECT_EQ(rows(whole), expected);
    EXPECT_EQ(rows(byByte), expected);

    whole.closeRuns(at(1ms));
    EXPECT_EQ(rows(whole).back(), (Row{Kind::Stray, {0xAA}, 1}));
}

TEST(FrameLog, RepliesAnswerTheirOwnRequestOnce)
{
    FrameLog log;
    log.sent(Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}, at(0ms));
    log.sent(Bytes{0xFE, 0xFE, 0x00, 0xE0, 0x19, 0x00, 0xFD}, at(10ms));
    log.received(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x19, 0x00, 0x94, 0xFD}, at(25ms));
    log.received(Bytes{0xFE, 0xFE, 0xE0, 0x98, 0x19, 0x00, 0x98, 0xFD}, at(26ms));
    log.received(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0xFB, 0xFD}, at(40ms));
    log.received(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0xFB, 0xFD}, at(50ms));
    log.received(Bytes{0xFE, 0xFE, 0xEA, 0x94, 0xFA, 0xFD}, at(60ms));

    std::vector<std::optional<std::chrono::microseconds>> roundTrips;
    for (std::uint64_t id = log.firstId() + 2; id < log.endId(); ++id) {
        roundTrips.push_back(log.entry(id).roundTrip);
    }
    const std::vector<std::optional<std::chrono::microseconds>> expected{
        15ms, std::nullopt, 40ms, std::nullopt, std::nullopt};
    EXPECT_EQ(roundTrips, expected);
}

} // namespace
} // namespace monitor
