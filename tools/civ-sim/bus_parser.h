// The simulator's frame parser, for what the controller puts on the bus.
#pragma once

#include "frame.h"

#include <cstddef>
#include <optional>

namespace civsim {

// Assembles frames from the bus one byte at a time.
class BusParser {
public:
    // Whole frame including preamble and end byte; anything longer is line garbage.
    static constexpr std::size_t kMaxFrameBytes = 64;

    std::optional<Frame> push(std::uint8_t byte);

    // True while a frame has started but not ended.
    bool inFrame() const { return state_ != State::Idle; }
    std::size_t droppedFrames() const { return dropped_; }

private:
    enum class State { Idle, Preamble, Body };

    void drop();

    State state_ = State::Idle;
    Bytes body_;
    std::size_t dropped_ = 0;
};

} // namespace civsim
