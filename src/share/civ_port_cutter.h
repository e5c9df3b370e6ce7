#pragma once

#include "civ/frame.h"
#include "civ/frame_parser.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace share {

// Cuts what a program writes to the CI-V port into frames. Whatever cannot be a CI-V frame is
// dropped there and counted, so the radio never sees it; a frame split across reads is kept.
class CivPortCutter {
public:
    // Longest frame passed on: the line's parser holds no more.
    static constexpr std::size_t kMaxFrame = civ::FrameParser::kMsgUpperBound + 6;

    // The complete, valid frames among the bytes, in order, each as FE FE to from cmd ... FD.
    std::vector<civ::Frame> cut(std::span<const std::uint8_t> bytes);
    int dropped() const { return dropped_; }

private:
    enum class State : std::uint8_t {
        Between,  // waiting for FE
        Garbage,  // in bytes already counted as dropped
        Preamble, // one FE seen
        Body,     // FE FE seen: addresses, command, data
        Skipping, // the rest of a frame already counted as dropped
    };

    void drop(State next);
    void finish(std::vector<civ::Frame>& out);

    State state_ = State::Between;
    civ::Frame partial_;
    int dropped_ = 0;
};

} // namespace share
