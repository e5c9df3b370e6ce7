// The open requests: what left the port and may still be answered, and what answers it.
#pragma once

#include "civ/frame_view.h"
#include "line/line_types.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace line {

// Requests that left the port and may still be answered, oldest first.
class RequestBook {
public:
    struct Answer {
        Origin origin;
        std::uint64_t id = 0;
        Millis leftAt = 0;
        bool refused = false; // NG
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
    // The request a received frame answers, if any. A broadcast stays open for other radios.
    std::optional<Answer> answer(const civ::FrameView& reply);
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
};

} // namespace line
