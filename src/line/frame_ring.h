// The transmit ring with a record of each frame in it, so that what leaves is known by its id.
#pragma once

#include "civ/frame.h"
#include "civ/transmit_queue.h"

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace line {

// The paced byte ring, and beside it, in the same order, a record of each frame it holds. A
// frame keeps the id it was queued with until its last byte is released; nothing is matched
// back from the bytes.
class FrameRing {
public:
    // A frame whose last byte was released.
    struct Left {
        std::uint64_t id = 0;
        bool taken = true; // false when the port took none or only part of it
    };

    // A frame goes in whole or not at all: queued bytes are never overwritten.
    bool fits(std::span<const std::uint8_t> frame) const;
    // A frame that fits.
    void push(std::span<const std::uint8_t> frame, std::uint64_t id);
    // Once per tick: the bytes to write now, as the ring paces them. taken: whether the port
    // takes them. Appends to left each frame whose last byte they hold.
    civ::Frame release(bool taken, std::vector<Left>& left);
    void frameEndSeen() { queue_.frameEndSeen(); }
    // The countdown is over and a frame waits: the next release writes it.
    bool due() const { return queue_.sendDelay == 0 && queue_.queued() > 0; }
    // Part of a frame has left and the rest waits for the next release.
    bool midFrame() const
    {
        return !records_.empty() && records_.front().unreleased < records_.front().size;
    }
    // Empties the ring: the frames it held will never leave.
    void reset();

    const civ::TransmitQueue& queue() const { return queue_; }

private:
    struct Record {
        std::uint64_t id = 0;
        std::size_t size = 0;
        std::size_t unreleased = 0;
        bool taken = true;
    };

    civ::TransmitQueue queue_;
    std::deque<Record> records_;
};

} // namespace line
