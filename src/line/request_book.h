// Requests that left the port and may still be answered, and how each reply is paired.
#pragma once

#include "civ/frame_view.h"
#include "line/line_types.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace line {

// Requests that left the port and may still be answered, oldest first. A radio answers in
// order but may lose a reply, and its replies may come late: a reply goes to the request whose
// round trip fits what that radio's replies have taken so far, and the requests of its kind
// left before that one are lost, so that neither a loss nor lateness shifts the others.
class RequestBook {
public:
    struct Answer {
        Origin origin;
        std::uint64_t id = 0;
        Millis leftAt = 0;
        bool refused = false; // NG
        // Requests of its kind left before it, now known to have lost their replies.
        std::vector<std::uint64_t> lost;
    };
    // A request nobody answered in time.
    struct Unanswered {
        int to = 0;
        Millis leftAt = 0;
    };

    // Frames without addresses and a command are no requests and are not kept.
    void add(std::span<const std::uint8_t> frame, const civ::FrameView& view, std::uint64_t id,
             const Origin& origin, Millis leftAt, Millis expiresAt);
    // Gives up on requests past their time; broadcasts are not counted in out.
    void expire(Millis now, std::vector<Unanswered>& out);
    // The request a frame received at `at` answers, if any. A broadcast stays open for other
    // radios.
    std::optional<Answer> answer(const civ::FrameView& reply, Millis at);
    // What this radio's replies have taken, once it has given one.
    std::optional<Millis> roundTrip(int radio) const;
    void clear() { open_.clear(); }
    // True while a request within its time may still be answered; othersOnly: one of another
    // program's.
    bool awaiting(Millis now, bool othersOnly) const;

private:
    struct Request {
        std::uint64_t id = 0;
        Origin origin;
        int to = 0;
        int from = 0;
        int command = 0;
        int subCommand = -1;
        bool read = false;
        Millis leftAt = 0;
        Millis expiresAt = 0;
    };

    std::deque<Request> open_;
    // Per radio address, smoothed over its replies.
    std::map<int, Millis> roundTrips_;
};

} // namespace line
