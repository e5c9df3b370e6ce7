// The parser of received frames, its state in fields the window reads.
#pragma once

#include "civ/frame.h"

#include <array>
#include <cstddef>
#include <span>

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

    // Inline: it runs once per received byte.
    Event ParseByte(int b);
    void reset() { parseState = 0; }

    int parseState = 0;
    int parseToID = 0;
    int parseFromID = 0;
    int parseCmd = 0;
    std::array<int, kMsgUpperBound + 1> parseMsg{};
    int parseMsgLength = 0;

    std::span<const int> data() const
    {
        return {parseMsg.data(), static_cast<std::size_t>(parseMsgLength)};
    }
    bool parseMsgOverflow = false;
    bool parseAfterFe = false; // the byte before was FE
};

inline FrameParser::Event FrameParser::ParseByte(int b)
{
    // The jam code aborts whatever we were assembling, whichever state we are in.
    if (b == kJamCode) {
        parseState = 0;
        return Event::Jam;
    }
    // CI-V data never holds FE: FE FE after the preamble is the next frame's, and the frame
    // before it was cut short.
    const bool newPreamble = b == kPreamble && parseAfterFe && parseState > 2;
    parseAfterFe = b == kPreamble;
    if (newPreamble) {
        parseState = 2;
        return Event::None;
    }

    switch (parseState) {
    case 0:
        parseState = (b == kPreamble) ? 1 : 0;
        break;
    case 1:
        parseState = (b == kPreamble) ? 2 : 0;
        break;
    case 2:
        // A run of extra FE belongs to the frame that follows it.
        if (b != kPreamble) {
            parseToID = b;
            parseState = 3;
        }
        break;
    case 3:
        parseFromID = b;
        parseState = 4;
        break;
    case 4:
        parseCmd = b;
        parseMsgLength = 0;
        parseMsgOverflow = false;
        parseState = 5;
        break;
    default:
        if (b == kEndOfMessage) {
            parseState = 0;
            return parseMsgOverflow ? Event::OverlongFrameEnd : Event::FrameEnd;
        }
        // A frame longer than the buffer is still followed to its end so that the bus
        // pacing stays right, but its excess bytes are dropped.
        if (parseMsgLength < static_cast<int>(parseMsg.size())) {
            parseMsg[static_cast<std::size_t>(parseMsgLength)] = b;
            ++parseMsgLength;
        } else {
            parseMsgOverflow = true;
        }
        break;
    }
    return Event::None;
}

} // namespace civ
