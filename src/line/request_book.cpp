// Requests kept as they leave, given up on when late, and matched to the replies that answer.
#include "line/request_book.h"

#include "civ/frame.h"

#include <algorithm>

namespace line {

void RequestBook::add(std::span<const std::uint8_t> frame, const civ::FrameView& f,
                      std::uint64_t id, const Origin& origin, Millis leftAt, Millis expiresAt)
{
    if (f.command < 0 || frame.size() < 2 || frame.front() != civ::kPreamble ||
        frame.back() != civ::kEndOfMessage) {
        return;
    }
    open_.push_back(
        {id, origin, f.to, f.from, f.command, f.subCommand, civ::isRead(f), leftAt, expiresAt});
}

void RequestBook::expire(Millis now, std::vector<Unanswered>& out)
{
    std::erase_if(open_, [now, &out](const Request& r) {
        if (now <= r.expiresAt) {
            return false;
        }
        if (r.to != civ::kBroadcast) {
            out.push_back({r.to, r.leftAt});
        }
        return true;
    });
}

std::optional<RequestBook::Answer> RequestBook::answer(const civ::FrameView& f)
{
    const auto answers = [&f](const Request& r) {
        if (r.from != f.to || (r.to != f.from && r.to != civ::kBroadcast)) {
            return false;
        }
        if (f.command == civ::kOk) {
            return !r.read;
        }
        if (f.command == civ::kNg) {
            return true;
        }
        return r.command == f.command &&
               (!civ::hasSubCommand(f.command) || r.subCommand == f.subCommand);
    };
    const auto found = std::ranges::find_if(open_, answers);
    if (found == open_.end()) {
        return std::nullopt;
    }
    const Answer answer{found->origin, found->id, found->leftAt, f.command == civ::kNg};
    if (found->to != civ::kBroadcast) {
        open_.erase(found);
    }
    return answer;
}

bool RequestBook::awaiting(Millis now, bool othersOnly) const
{
    return std::ranges::any_of(open_, [now, othersOnly](const Request& r) {
        return now <= r.expiresAt && (!othersOnly || fromOtherProgram(r.origin));
    });
}

} // namespace line
