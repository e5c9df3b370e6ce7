#include "civ/transmit_queue.h"

#include <gtest/gtest.h>

namespace civ {
namespace {

const Frame kFirst = {0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD};
const Frame kSecond = {0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD};

// Calls DoSerialOut until it writes something; returns the 1-based call that did.
int callsUntilWrite(TransmitQueue& q, Frame& written)
{
    for (int call = 1; call <= 100; ++call) {
        written = q.DoSerialOut();
        if (!written.empty()) {
            return call;
        }
    }
    return 0;
}

TEST(TransmitQueue, ElevenQuietCallsBetweenFrames)
{
    TransmitQueue q;
    ASSERT_TRUE(q.SendSerialPacket(kFirst));
    ASSERT_TRUE(q.SendSerialPacket(kSecond));
    EXPECT_EQ(q.queued(), 12);

    EXPECT_EQ(q.DoSerialOut(), kFirst);
    EXPECT_EQ(q.sendDelay, TransmitQueue::kDelayAfterRelease);
    for (int call = 2; call <= 11; ++call) {
        EXPECT_TRUE(q.DoSerialOut().empty()) << "call " << call;
    }
    EXPECT_EQ(q.DoSerialOut(), kSecond);
    EXPECT_EQ(q.queued(), 0);
}

TEST(TransmitQueue, FrameEndOnBusShortensTheWait)
{
    TransmitQueue q;
    ASSERT_TRUE(q.SendSerialPacket(kFirst));
    ASSERT_TRUE(q.SendSerialPacket(kSecond));
    EXPECT_EQ(q.DoSerialOut(), kFirst);
    q.frameEndSeen();
    Frame written;
    EXPECT_EQ(callsUntilWrite(q, written), 3);
    EXPECT_EQ(written, kSecond);
}

TEST(TransmitQueue, FrameWrapsAroundTheRing)
{
    TransmitQueue q;
    q.serialBufHead = 9998;
    q.serialBufTail = 9998;
    ASSERT_TRUE(q.SendSerialPacket(kFirst));
    EXPECT_EQ(q.serialBufHead, 4);
    EXPECT_EQ(q.queued(), 6);
    const std::array<std::size_t, 6> slots = {9998, 9999, 0, 1, 2, 3};
    for (std::size_t i = 0; i < slots.size(); ++i) {
        EXPECT_EQ(q.serialBuf[slots[i]], kFirst[i]) << "slot " << slots[i];
    }
    EXPECT_EQ(q.DoSerialOut(), kFirst);
    EXPECT_EQ(q.serialBufTail, 4);
}

TEST(TransmitQueue, EmptyReleaseStillStartsTheWait)
{
    TransmitQueue q;
    EXPECT_TRUE(q.DoSerialOut().empty());
    EXPECT_EQ(q.sendDelay, TransmitQueue::kDelayAfterRelease);
    EXPECT_EQ(q.serialBufTail, 0);
}

TEST(TransmitQueue, LongRunWithoutEndIsReleasedInChunks)
{
    TransmitQueue q;
    Frame run(60);
    for (std::size_t i = 0; i < run.size(); ++i) {
        run[i] = static_cast<std::uint8_t>(i);
    }
    ASSERT_TRUE(q.SendSerialPacket(run));
    EXPECT_EQ(q.DoSerialOut(), Frame(run.begin(), run.begin() + 50));
    Frame written;
    EXPECT_EQ(callsUntilWrite(q, written), 11);
    EXPECT_EQ(written, Frame(run.begin() + 50, run.end()));
}

TEST(TransmitQueue, ReleaseStopsAtEndOfFrame)
{
    TransmitQueue q;
    ASSERT_TRUE(q.SendSerialPacket(Frame{0x01, 0xFD, 0x02, 0x03}));
    EXPECT_EQ(q.DoSerialOut(), (Frame{0x01, 0xFD}));
    q.reset();
    EXPECT_EQ(q.queued(), 0);
    EXPECT_EQ(q.sendDelay, 0);
    EXPECT_TRUE(q.DoSerialOut().empty());
}

TEST(TransmitQueue, FullRingRefusesWithoutLosingQueuedBytes)
{
    TransmitQueue q;
    q.serialBufHead = 5000;
    q.serialBufTail = 5000;
    Frame all;
    for (int i = 0; i < TransmitQueue::kSlots - 1; ++i) {
        // No end-of-message byte, so releases come in full chunks.
        all.push_back(static_cast<std::uint8_t>(i % 0xFD));
    }
    ASSERT_TRUE(q.SendSerialPacket(Frame(all.begin(), all.begin() + 9000)));
    EXPECT_FALSE(q.SendSerialPacket(Frame(1000, 0xAA)));
    ASSERT_TRUE(q.SendSerialPacket(Frame(all.begin() + 9000, all.end())));
    EXPECT_EQ(q.queued(), 9999);
    EXPECT_EQ(q.freeSpace(), 0);

    const int head = q.serialBufHead;
    EXPECT_FALSE(q.SendSerialPacket(kFirst));
    EXPECT_FALSE(q.SendSerialPacket(Frame{0xFD}));
    EXPECT_EQ(q.serialBufHead, head);
    EXPECT_TRUE(q.SendSerialPacket(Frame{}));

    Frame drained;
    while (q.queued() > 0) {
        q.sendDelay = 0;
        const Frame chunk = q.DoSerialOut();
        ASSERT_FALSE(chunk.empty());
        drained.insert(drained.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(drained, all);
}

} // namespace
} // namespace civ
