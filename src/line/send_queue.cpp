#include "line/send_queue.h"

#include <algorithm>

namespace line {

std::uint64_t SendQueue::add(std::span<const std::uint8_t> frame, const Origin& origin, Millis now)
{
    const std::uint64_t id = nextId_++;
    queue_.push_back({id, civ::Frame(frame.begin(), frame.end()), origin, 0, false, now});
    return id;
}

void SendQueue::take(std::span<const std::uint8_t> bytes, bool left, std::vector<Handed>& out)
{
    while (!bytes.empty()) {
        if (!continuesFront(bytes) && !skipToFrameStartingWith(bytes)) {
            // The ring and the account disagree; the bytes are still shown, as the window's.
            out.push_back({left, civ::Frame(bytes.begin(), bytes.end()), Origin{}, std::nullopt});
            return;
        }
        Queued& front = queue_.front();
        const std::size_t n = std::min(bytes.size(), front.frame.size() - front.handed);
        front.handed += n;
        front.dropped = front.dropped || !left;
        bytes = bytes.subspan(n);
        if (front.handed == front.frame.size()) {
            out.push_back(
                {!front.dropped, std::move(front.frame), std::move(front.origin), front.id});
            queue_.pop_front();
        }
    }
}

bool SendQueue::waiting(std::uint64_t id) const
{
    return std::ranges::any_of(queue_, [id](const Queued& q) { return q.id == id; });
}

std::optional<Millis> SendQueue::oldestQueuedAt() const
{
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.front().queuedAt;
}

bool SendQueue::continuesFront(std::span<const std::uint8_t> bytes) const
{
    if (queue_.empty()) {
        return false;
    }
    const Queued& front = queue_.front();
    const auto rest = std::span<const std::uint8_t>(front.frame).subspan(front.handed);
    const std::size_t n = std::min(bytes.size(), rest.size());
    return n > 0 && std::ranges::equal(bytes.first(n), rest.first(n));
}

bool SendQueue::skipToFrameStartingWith(std::span<const std::uint8_t> bytes)
{
    // Frames the ring lost without telling are passed over, so that the rest still match.
    const auto found = std::ranges::find_if(queue_, [bytes](const Queued& q) {
        const std::size_t n = std::min(bytes.size(), q.frame.size());
        return q.handed == 0 && n > 0 &&
               std::equal(bytes.begin(), bytes.begin() + n, q.frame.begin());
    });
    if (found == queue_.end()) {
        return false;
    }
    queue_.erase(queue_.begin(), found);
    return true;
}

} // namespace line
