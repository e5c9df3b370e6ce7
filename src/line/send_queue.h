// The frames in the transmit ring as the account keeps them: by id, with who queued them.
#pragma once

#include "civ/frame.h"
#include "line/line_types.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>

namespace line {

// The frames waiting in the transmit ring, oldest first, each under the id it was queued with.
class SendQueue {
public:
    struct Queued {
        std::uint64_t id = 0;
        civ::Frame frame;
        Origin origin;
        Millis queuedAt = 0;
    };

    std::uint64_t add(std::span<const std::uint8_t> frame, const Origin& origin, Millis now);
    // The frame with this id, no longer waiting; nothing for an id that is not waiting.
    std::optional<Queued> take(std::uint64_t id);
    // Every frame still waiting, oldest first; none waits afterwards.
    std::deque<Queued> takeAll() { return std::exchange(queue_, {}); }

    bool waiting(std::uint64_t id) const;
    std::size_t size() const { return queue_.size(); }
    std::optional<Millis> oldestQueuedAt() const;

private:
    std::uint64_t nextId_ = 1;
    std::deque<Queued> queue_;
};

} // namespace line
