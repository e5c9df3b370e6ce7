// The account's cutter: the line's bytes into frames, jams, and overlong and stray pieces.
#pragma once

#include "civ/frame_parser.h"
#include "line/line_types.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace line {

// Cuts what the line carries into frames, jams and stray runs, byte by byte, so that the pieces
// are the same however the reads were split.
class FrameCutter {
public:
    // Bytes a frame keeps past its leading FE run: to, from, command, what the parser holds.
    static constexpr std::size_t kHeadFields =
        3 + static_cast<std::size_t>(civ::FrameParser::kMsgUpperBound) + 1;

    struct Piece {
        Kind kind = Kind::Frame;
        std::vector<std::uint8_t> bytes;
        std::size_t wireLength = 0;
        Millis at = 0; // last byte's arrival; a stray run's first
    };

    // Appends the pieces these bytes complete to out, oldest first.
    void push(std::span<const std::uint8_t> bytes, Millis now, std::vector<Piece>& out);
    // Ends a run of bytes outside frames, so that a quiet line shows it.
    void closeRun(std::vector<Piece>& out);

private:
    enum class Stage : std::uint8_t {
        Between,  // outside frames
        OneFe,    // a lone FE that may start a frame
        Preamble, // FE FE and maybe more FE, no address yet
        Fields,   // inside a frame
    };

    void pushByte(std::uint8_t b, Millis now, std::vector<Piece>& out);
    void startFrame(Millis firstFeAt);
    // A new preamble inside a frame: what came before it was cut short.
    void restart(std::vector<Piece>& out);
    void addToRun(std::uint8_t b, Millis at, std::vector<Piece>& out);
    void jam(std::uint8_t b, Millis now, std::vector<Piece>& out);
    void endFrame(std::uint8_t fd, Millis now, std::vector<Piece>& out);
    void finishFrame(Kind kind, Millis now, std::vector<Piece>& out);

    Stage stage_ = Stage::Between;
    Millis loneFeAt_ = 0; // also an FE inside a frame, which may begin the next one
    bool afterFe_ = false;
    std::vector<std::uint8_t> run_;
    Millis runAt_ = 0;
    std::vector<std::uint8_t> frame_;
    Millis frameAt_ = 0;     // its first FE, for a frame the jam code cuts short
    std::size_t fields_ = 0; // bytes of the frame past its FE run
    std::size_t frameWire_ = 0;
};

} // namespace line
