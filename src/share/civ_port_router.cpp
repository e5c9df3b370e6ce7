// The program's frames into the ring in turn, and the events it hears as if on its own bus.
#include "share/civ_port_router.h"

#include <algorithm>
#include <utility>

namespace share {

CivPortRouter::CivPortRouter(line::Door& door, line::Origin origin)
    : door_(door)
    , origin_(std::move(origin))
{}

void CivPortRouter::fromProgram(std::span<const std::uint8_t> bytes)
{
    for (CivPortCutter::Cut& cut : cutter_.cut(bytes)) {
        controllers_.insert(cut.from);
        if (waiting_.size() < kMaxWaiting) {
            waiting_.push_back(std::move(cut.frame));
        } else {
            ++counts_.dropped;
        }
        handOn();
    }
}

void CivPortRouter::ticked()
{
    handOn();
}

void CivPortRouter::handOn()
{
    while (!waiting_.empty() && inRing_.size() < kMaxInRing) {
        const std::optional<std::uint64_t> id = door_.send(waiting_.front(), origin_);
        if (!id) {
            return; // no room: next tick
        }
        inRing_.push_back(*id);
        waiting_.pop_front();
    }
}

CivPortCounts CivPortRouter::counts() const
{
    CivPortCounts counts = counts_;
    counts.dropped += cutter_.dropped();
    return counts;
}

std::vector<std::uint8_t> CivPortRouter::toProgram(const line::FrameEvent& event)
{
    const bool ours = event.origin == origin_;
    switch (event.direction) {
    case line::Direction::Sent:
        leftRing(event);
        counts_.sent += ours ? 1 : 0;
        return {};
    case line::Direction::Dropped:
        leftRing(event);
        counts_.dropped += ours ? 1 : 0;
        return {};
    case line::Direction::Echo:
    case line::Direction::Received:
        break;
    }
    if (!heardFromProgram()) {
        return {};
    }
    if (event.direction == line::Direction::Echo) {
        // The bus echoes or it does not; the program's echo setting is the radio's.
        return ours ? event.bytes : std::vector<std::uint8_t>{};
    }
    if (event.kind == line::Kind::Jam) {
        return event.bytes;
    }
    if (event.kind != line::Kind::Frame) {
        return {};
    }
    if (event.request) {
        if (!ours) {
            return {};
        }
        ++counts_.answered;
        if (event.view.command == civ::kNg) {
            ++counts_.dropped;
        }
        return event.bytes;
    }
    return addressedToProgram(event) ? event.bytes : std::vector<std::uint8_t>{};
}

void CivPortRouter::leftRing(const line::FrameEvent& event)
{
    std::erase_if(inRing_, [&event](std::uint64_t id) { return event.request == id; });
}

bool CivPortRouter::addressedToProgram(const line::FrameEvent& event) const
{
    const int to = event.view.to;
    return to == civ::kBroadcast || controllers_.contains(to);
}

} // namespace share
