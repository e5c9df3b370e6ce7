// The CI-V port's routing without a port: frames in, frames out.
#include "fake_door.h"
#include "share/civ_port_router.h"

#include <gtest/gtest.h>

namespace share {
namespace {

using Bytes = std::vector<std::uint8_t>;

const line::Origin kPort{line::Source::CivPort, 3, "/tmp/civ"};
const line::Origin kWindow{};
const line::Origin kOtherClient{line::Source::Network, 1, "127.0.0.1:40512"};

Bytes frame(int to, int from, Bytes body)
{
    Bytes out{0xFE, 0xFE, std::uint8_t(to), std::uint8_t(from)};
    out.insert(out.end(), body.begin(), body.end());
    out.push_back(0xFD);
    return out;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

line::FrameEvent event(line::Direction direction, Bytes bytes, line::Origin origin = kWindow,
                       std::optional<std::uint64_t> request = std::nullopt,
                       line::Kind kind = line::Kind::Frame)
{
    line::FrameEvent e(direction, kind, std::move(bytes));
    e.origin = std::move(origin);
    e.request = request;
    return e;
}

using line::Direction;

struct Written {
    const char* name;
    std::vector<Bytes> reads; // as the port handed them over
    std::vector<Bytes> passed;
    int dropped;
};

void PrintTo(const Written& row, std::ostream* out)
{
    *out << row.name;
}

class WhatTheProgramWrites : public ::testing::TestWithParam<Written> {};

TEST_P(WhatTheProgramWrites, ReachesTheDoorOnlyAsFrames)
{
    FakeDoor door;
    CivPortRouter router(door, kPort);
    for (const Bytes& read : GetParam().reads) {
        router.fromProgram(read);
        router.toProgram(event(Direction::Sent, {}, kPort, door.sent.size()));
        router.ticked();
    }
    EXPECT_EQ(door.frames(), GetParam().passed);
    for (const auto& [frame, origin] : door.sent) {
        EXPECT_EQ(origin, kPort);
    }
    EXPECT_EQ(router.counts().dropped, GetParam().dropped);
}

const Bytes kRead = frame(0x58, 0xE0, {0x03});
const Bytes kSet = frame(0x58, 0xE1, {0x1C, 0x00, 0x01});

INSTANTIATE_TEST_SUITE_P(
    CivPort, WhatTheProgramWrites,
    ::testing::Values(
        Written{"split across reads", {{0xFE, 0xFE, 0x58}, {0xE0, 0x03, 0xFD}}, {kRead}, 0},
        Written{"extra leading FE", {join({{0xFE}, kRead})}, {kRead}, 0},
        Written{"any controller", {join({kRead, kSet})}, {kRead, kSet}, 0},
        Written{"text, then a frame", {join({{'A', 'T', 0x0D}, kRead})}, {kRead}, 1},
        Written{"jam code inside", {{0xFE, 0xFE, 0x58, 0xE0, 0xFC, 0x03, 0xFD}, kSet}, {kSet}, 1},
        Written{"no command", {{0xFE, 0xFE, 0x58, 0xE0, 0xFD}, kRead}, {kRead}, 1},
        Written{"from the broadcast address", {frame(0x58, 0x00, {0x03}), kRead}, {kRead}, 1},
        Written{"cut short by the next frame", {{0xFE, 0xFE, 0x58, 0xE0, 0x05}, kRead}, {kRead}, 1},
        Written{"lone FE", {{0xFE, 0x58, 0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD}}, {kRead}, 1},
        Written{"overlong", {frame(0x58, 0xE0, Bytes(300, 0x11)), kRead}, {kRead}, 1}));

TEST(CivPortRouter, KeepsAtMostTwoFramesInTheRingAndDropsPastItsQueue)
{
    FakeDoor door;
    CivPortRouter router(door, kPort);
    Bytes burst;
    for (std::uint8_t i = 0; i < 12; ++i) {
        burst = join({burst, frame(0x58, 0xE0, {0x03, i})});
    }
    router.fromProgram(burst);
    ASSERT_EQ(door.sent.size(), CivPortRouter::kMaxInRing);
    EXPECT_EQ(router.counts().dropped,
              int(12 - CivPortRouter::kMaxInRing - CivPortRouter::kMaxWaiting));

    // Another client's frame leaving frees no room; the first of ours does, at the tick.
    router.toProgram(event(Direction::Sent, {}, kOtherClient, 99));
    router.ticked();
    EXPECT_EQ(door.sent.size(), 2u);
    router.toProgram(event(Direction::Dropped, {}, kPort, 1));
    door.full = true;
    router.ticked();
    EXPECT_EQ(door.sent.size(), 2u) << "a full ring holds the frame back";
    door.full = false;
    router.ticked();
    ASSERT_EQ(door.sent.size(), 3u);
    EXPECT_EQ(door.sent[2].first, frame(0x58, 0xE0, {0x03, 2}));

    // A frame holds its place until the line tells it sent or dropped, however long it waits.
    for (int i = 0; i < 200; ++i) {
        router.ticked();
    }
    EXPECT_EQ(door.sent.size(), 3u);
    EXPECT_EQ(router.counts().sent, 0);
}

struct Heard {
    const char* name;
    line::FrameEvent event;
    bool toProgram;
};

void PrintTo(const Heard& row, std::ostream* out)
{
    *out << row.name;
}

class WhatTheLineTells : public ::testing::TestWithParam<Heard> {};

TEST_P(WhatTheLineTells, ReachesTheProgramWhenARadioWouldTellIt)
{
    FakeDoor door;
    CivPortRouter router(door, kPort);
    const line::FrameEvent& e = GetParam().event;
    EXPECT_TRUE(router.toProgram(e).empty()) << "nothing before the program has spoken";
    router.fromProgram(kRead);
    const Bytes heard = router.toProgram(e);
    EXPECT_EQ(heard, GetParam().toProgram ? e.bytes : Bytes{});
}

INSTANTIATE_TEST_SUITE_P(
    CivPort, WhatTheLineTells,
    ::testing::Values(
        Heard{"its echo", event(Direction::Echo, kRead, kPort), true},
        Heard{"the window's echo", event(Direction::Echo, frame(0x58, 0xEA, {0x03})), false},
        Heard{"its reply", event(Direction::Received, frame(0xE0, 0x58, {0xFB}), kPort, 7), true},
        Heard{"the window's reply",
              event(Direction::Received, frame(0xEA, 0x58, {0x03}), kWindow, 2), false},
        Heard{"another client's reply to E0",
              event(Direction::Received, frame(0xE0, 0x58, {0x04, 0x01}), kOtherClient, 4), false},
        Heard{"unpaired, to its address", event(Direction::Received, frame(0xE0, 0x58, {0xFA})),
              true},
        Heard{"unpaired, to another", event(Direction::Received, frame(0xE1, 0x58, {0xFA})), false},
        Heard{"a live report", event(Direction::Received, frame(0x00, 0x58, {0x01, 0x03})), true},
        Heard{"the jam code",
              event(Direction::Received, {0xFC}, kWindow, std::nullopt, line::Kind::Jam), true},
        Heard{"stray bytes",
              event(Direction::Received, {0x12, 0x34}, kWindow, std::nullopt, line::Kind::Stray),
              false},
        Heard{"its frame, sent", event(Direction::Sent, kRead, kPort, 1), false}));

TEST(CivPortRouter, CountsWhatLeftAndWhatWasAnsweredOrRefused)
{
    FakeDoor door;
    CivPortRouter router(door, kPort);
    router.fromProgram(join({kRead, kSet}));
    router.toProgram(event(Direction::Sent, kRead, kPort, 1));
    router.toProgram(event(Direction::Sent, kSet, kPort, 2));
    router.toProgram(event(Direction::Sent, kRead, kWindow, 3));
    router.toProgram(
        event(Direction::Received, frame(0xE0, 0x58, {0x03, 0, 0, 0, 7, 0}), kPort, 1));
    router.toProgram(event(Direction::Received, frame(0xE1, 0x58, {0xFA}), kPort, 2));
    router.toProgram(event(Direction::Received, frame(0xEA, 0x58, {0xFB}), kWindow, 3));
    const CivPortCounts counts = router.counts();
    EXPECT_EQ(counts.sent, 2);
    EXPECT_EQ(counts.answered, 2);
    EXPECT_EQ(counts.dropped, 1);
    EXPECT_EQ(router.controllers(), (std::set<int>{0xE0, 0xE1}));
}

} // namespace
} // namespace share
