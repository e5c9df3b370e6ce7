#pragma once

#include "civ/frame.h"
#include "line/line_types.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace line {

// The frames in the transmit ring, in order, matched against the bytes it hands out.
class SendQueue {
public:
    struct Handed {
        bool left = true; // false when any of it was dropped
        civ::Frame frame;
        Origin origin;
        std::optional<std::uint64_t> id; // none for bytes no queued frame accounts for
    };

    std::uint64_t add(std::span<const std::uint8_t> frame, const Origin& origin, Millis now);
    // Appends each frame these bytes complete to out.
    void take(std::span<const std::uint8_t> bytes, bool left, std::vector<Handed>& out);
    void clear() { queue_.clear(); }

    bool waiting(std::uint64_t id) const;
    std::size_t size() const { return queue_.size(); }
    std::optional<Millis> oldestQueuedAt() const;

private:
    struct Queued {
        std::uint64_t id = 0;
        civ::Frame frame;
        Origin origin;
        std::size_t handed = 0;
        bool dropped = false;
        Millis queuedAt = 0;
    };

    bool continuesFront(std::span<const std::uint8_t> bytes) const;
    bool skipToFrameStartingWith(std::span<const std::uint8_t> bytes);

    std::uint64_t nextId_ = 1;
    std::deque<Queued> queue_;
};

} // namespace line
