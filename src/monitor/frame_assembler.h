#pragma once

#include "civ/frame_parser.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace monitor {

enum class Kind : std::uint8_t {
    Frame,
    Jam,      // the jam code
    Stray,    // bytes outside any frame, or a frame the jam code cut short
    Overlong, // a frame longer than the program's parser holds
};

// Cuts one direction of the line into frames with the program's own framing rules, byte by
// byte, so a frame looks the same however the reads were split.
class FrameAssembler {
public:
    // The longest frame the parser takes whole; longer ones keep only this much.
    static constexpr std::size_t kMaxStored = 5 + civ::FrameParser::kMsgUpperBound + 1 + 1;

    struct Piece {
        Kind kind = Kind::Frame;
        std::vector<std::uint8_t> bytes;
        std::size_t wireLength = 0;
    };

    // The pieces that b completes, oldest first; valid until the next call.
    std::span<const Piece> push(std::uint8_t b);
    // Ends a run of bytes outside frames, so that a quiet line shows it.
    std::span<const Piece> closeRun();

private:
    void finish(Kind kind, std::vector<std::uint8_t>& bytes, std::size_t wireLength);
    void addToRun(std::uint8_t b);

    civ::FrameParser parser_;
    std::vector<std::uint8_t> run_;
    std::vector<std::uint8_t> frame_;
    std::size_t frameWire_ = 0;
    std::array<Piece, 2> done_;
    std::size_t doneCount_ = 0;
};

} // namespace monitor
