// Requests awaiting answers: each reply paired with its own request, losses told.
#include "line/request_book.h"

#include "civ/frame.h"

#include <algorithm>
#include <cstdlib>

namespace line {

namespace {

// How much each new round trip moves a radio's estimate: a quarter, so that one odd reply
// does not lead the next pairing astray.
constexpr Millis kSmoothing = 4;

bool answers(const civ::FrameView& f, int to, int from, int command, int subCommand, bool read)
{
    if (from != f.to || (to != f.from && to != civ::kBroadcast)) {
        return false;
    }
    if (f.command == civ::kOk) {
        return !read;
    }
    if (f.command == civ::kNg) {
        return true;
    }
    return command == f.command && (!civ::hasSubCommand(f.command) || subCommand == f.subCommand);
}

} // namespace

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

std::optional<RequestBook::Answer> RequestBook::answer(const civ::FrameView& f, Millis at)
{
    const auto fits = [&f, at](const Request& r) {
        return r.leftAt <= at && answers(f, r.to, r.from, r.command, r.subCommand, r.read);
    };
    const auto known = roundTrips_.find(f.from);
    auto found = open_.end();
    Millis best = 0;
    for (auto r = open_.begin(); r != open_.end(); ++r) {
        if (!fits(*r)) {
            continue;
        }
        // Without an estimate the oldest: replies come in order.
        if (known == roundTrips_.end()) {
            found = r;
            break;
        }
        const Millis off = std::abs(at - r->leftAt - known->second);
        if (found == open_.end() || off < best) {
            found = r;
            best = off;
        }
    }
    if (found == open_.end()) {
        return std::nullopt;
    }
    Answer answer{found->origin, found->id, found->leftAt, f.command == civ::kNg, {}};
    const Millis took = at - found->leftAt;
    auto [estimate, first] = roundTrips_.try_emplace(f.from, took);
    if (!first) {
        estimate->second += (took - estimate->second) / kSmoothing;
    }
    const bool broadcast = found->to == civ::kBroadcast;
    const Millis leftAt = found->leftAt;
    if (!broadcast) {
        open_.erase(found);
    }
    // The radio answered a later request: those of the same kind before it lost their replies.
    std::erase_if(open_, [&](const Request& r) {
        if (r.to == civ::kBroadcast || r.leftAt >= leftAt || !fits(r)) {
            return false;
        }
        answer.lost.push_back(r.id);
        return true;
    });
    return answer;
}

bool RequestBook::awaiting(Millis now, bool othersOnly) const
{
    return std::ranges::any_of(open_, [now, othersOnly](const Request& r) {
        return now <= r.expiresAt && (!othersOnly || fromOtherProgram(r.origin));
    });
}

std::optional<Millis> RequestBook::roundTrip(int radio) const
{
    const auto found = roundTrips_.find(radio);
    return found == roundTrips_.end() ? std::nullopt : std::optional(found->second);
}

} // namespace line
