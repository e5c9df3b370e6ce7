// The transmit ring: the window's frames in order, and the pacing of their release.
#pragma once

#include "civ/frame.h"

#include <array>
#include <cstdint>
#include <span>

namespace civ {

// Ring of bytes waiting for the bus. Frames leave one at a time, paced in ticks of the receive
// pump: ten ticks after a release, or two after any frame end seen on the bus.
class TransmitQueue {
public:
    static constexpr int kSlots = 10000;
    static constexpr int kMaxRelease = 50;
    static constexpr int kDelayAfterRelease = 10;
    static constexpr int kDelayAfterFrameEnd = 2;

    // Refuses (returns false) a frame that does not fit whole: queued bytes are never
    // overwritten.
    bool SendSerialPacket(std::span<const std::uint8_t> frame);

    // Called once per tick. Returns the bytes to write now: at most one frame, at most
    // kMaxRelease bytes; empty while counting down or when nothing waits.
    Frame DoSerialOut();

    void frameEndSeen() { sendDelay = kDelayAfterFrameEnd; }
    void reset();

    int queued() const;
    int freeSpace() const { return kSlots - 1 - queued(); }

    std::array<std::uint8_t, kSlots> serialBuf{};
    int serialBufHead = 0;
    int serialBufTail = 0;
    int sendDelay = 0;
};

} // namespace civ
