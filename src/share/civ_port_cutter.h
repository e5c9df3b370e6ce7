// The CI-V port's cutter: only whole, valid frames of its program pass on to the radio.
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

    struct Cut {
        civ::Frame frame; // FE FE to from cmd ... FD, without a longer run of FE
        int from = 0;     // the controller address it was sent from
    };

    // The complete, valid frames among the bytes, in order.
    std::vector<Cut> cut(std::span<const std::uint8_t> bytes);
    int dropped() const { return dropped_; }

private:
    enum class State : std::uint8_t {
        Between,  // waiting for FE
        Garbage,  // in bytes already counted as dropped
        Preamble, // one FE seen
        Run,      // FE FE seen, and maybe more FE
        Body,     // addresses, command, data
        Skipping, // the rest of a frame already counted as dropped
    };

    void drop(State next);
    void finish(std::vector<Cut>& out);

    State state_ = State::Between;
    civ::Frame partial_;
    int dropped_ = 0;
};

} // namespace share
