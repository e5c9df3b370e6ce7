// The transmit ring's frame records: released bytes counted off the oldest frame.
#include "line/frame_ring.h"

#include <algorithm>

namespace line {

bool FrameRing::fits(std::span<const std::uint8_t> frame) const
{
    // An empty frame would hold its record for ever: no byte of it is ever released.
    return !frame.empty() && frame.size() <= static_cast<std::size_t>(queue_.freeSpace());
}

void FrameRing::push(std::span<const std::uint8_t> frame, std::uint64_t id)
{
    queue_.SendSerialPacket(frame);
    records_.push_back({id, frame.size(), frame.size(), true});
}

civ::Frame FrameRing::release(bool taken, std::vector<Left>& left)
{
    civ::Frame out = queue_.DoSerialOut();
    // A release ends at a frame's end or after 50 bytes, so it may hold part of a frame, and
    // the bytes of a frame without an end byte may run into the next.
    std::size_t bytes = out.size();
    while (bytes > 0 && !records_.empty()) {
        Record& oldest = records_.front();
        const std::size_t n = std::min(bytes, oldest.unreleased);
        oldest.unreleased -= n;
        oldest.taken = oldest.taken && taken;
        bytes -= n;
        if (oldest.unreleased == 0) {
            left.push_back({oldest.id, oldest.taken});
            records_.pop_front();
        }
    }
    return out;
}

void FrameRing::reset()
{
    queue_.reset();
    records_.clear();
}

} // namespace line
