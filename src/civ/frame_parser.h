#pragma once

#include <array>

namespace civ {

// Receive-side frame assembly, one byte at a time, however the reads were split.
class FrameParser {
public:
    static constexpr int kMsgUpperBound = 256;

    enum class Event {
        None,
        Jam,             // the jam code: any frame in progress is dropped
        FrameEnd,        // a complete frame; its fields below describe it
        OverlongFrameEnd // a frame with more data than parseMsg holds: not to be decoded
    };

    Event ParseByte(int b);
    void reset() { parseState = 0; }

    int parseState = 0;
    int parseToID = 0;
    int parseFromID = 0;
    int parseCmd = 0;
    std::array<int, kMsgUpperBound + 1> parseMsg{};
    int parseMsgLength = 0;
    bool parseMsgOverflow = false;
};

} // namespace civ
