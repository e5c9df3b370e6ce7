// The CI-V port's routing and counts: frames from its program to the ring, and back.
#pragma once

#include "line/door.h"
#include "share/civ_port_cutter.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <set>
#include <span>
#include <vector>

namespace share {

struct CivPortCounts {
    int sent = 0;     // left the port
    int answered = 0; // replies paired to its frames
    int dropped = 0;  // not CI-V, over its queue, never left the port, or answered NG
};

// The CI-V port's traffic, without the port: what the program writes goes through the door,
// a frame at a time and at most kMaxInRing waiting for the bus, so one program cannot flood it;
// of what the line tells, the program gets what a radio on its own bus would give it.
class CivPortRouter {
public:
    static constexpr std::size_t kMaxInRing = 2;
    // Frames read from the program and not yet handed to the door; more are dropped.
    static constexpr std::size_t kMaxWaiting = 8;

    CivPortRouter(line::Door& door, line::Origin origin);

    void fromProgram(std::span<const std::uint8_t> bytes);
    // The bytes the program hears of this event; empty for most.
    std::vector<std::uint8_t> toProgram(const line::FrameEvent& event);
    // After each pump tick: frames that waited for room go on.
    void ticked();

    const line::Origin& origin() const { return origin_; }
    CivPortCounts counts() const;
    // The controller addresses the program has sent from, lowest first.
    const std::set<int>& controllers() const { return controllers_; }
    bool heardFromProgram() const { return !controllers_.empty(); }

private:
    void handOn();
    void leftRing(const line::FrameEvent& event);
    bool addressedToProgram(const line::FrameEvent& event) const;

    line::Door& door_;
    const line::Origin origin_;
    CivPortCutter cutter_;
    std::deque<civ::Frame> waiting_;
    // Ids of its frames handed to the door: each leaves sent or dropped, as the line tells.
    std::vector<std::uint64_t> inRing_;
    std::set<int> controllers_;
    CivPortCounts counts_;
};

} // namespace share
