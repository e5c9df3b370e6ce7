// The account's frames in the transmit ring, by id.
#include "line/send_queue.h"

#include <algorithm>

namespace line {

std::uint64_t SendQueue::add(std::span<const std::uint8_t> frame, const Origin& origin, Millis now)
{
    const std::uint64_t id = nextId_++;
    queue_.push_back({id, civ::Frame(frame.begin(), frame.end()), origin, now});
    return id;
}

std::optional<SendQueue::Queued> SendQueue::take(std::uint64_t id)
{
    // The ring hands frames out in order: the one asked for is the oldest.
    const auto found = std::ranges::find(queue_, id, &Queued::id);
    if (found == queue_.end()) {
        return std::nullopt;
    }
    Queued taken = std::move(*found);
    queue_.erase(found);
    return taken;
}

bool SendQueue::waiting(std::uint64_t id) const
{
    return std::ranges::find(queue_, id, &Queued::id) != queue_.end();
}

std::optional<Millis> SendQueue::oldestQueuedAt() const
{
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.front().queuedAt;
}

} // namespace line
