// The line's common terms: milliseconds, who queued a frame, and the kinds of piece heard.
#pragma once

#include <cstdint>
#include <string>

namespace line {

// Milliseconds on the caller's clock: the account reads no clock of its own.
using Millis = std::int64_t;

// Who put a frame on the ring.
enum class Source : std::uint8_t {
    Window,  // the main window's polls, sets and bus search
    Check,   // Check Interface
    Typed,   // a frame typed into the Bus Monitor
    Network, // a client of the network server
    CivPort, // the program on the CI-V port for other programs
};

struct Origin {
    Source source = Source::Window;
    // Tells clients of one source apart (0 for the window, the check and typed frames).
    std::uint32_t client = 0;
    // What the operator is shown: "127.0.0.1:40512", "/tmp/civ"; empty for the first three.
    std::string label;

    friend bool operator==(const Origin&, const Origin&) = default;
};

// Another program's frame: it takes the fast lane, and its answers are that program's own.
inline bool fromOtherProgram(const Origin& origin)
{
    return origin.source == Source::Network || origin.source == Source::CivPort;
}

enum class Kind : std::uint8_t {
    Frame,
    Jam,      // the jam code
    Stray,    // bytes outside any frame, or a frame cut short by the jam code or a new FE FE
    Overlong, // a frame longer than the program's parser holds; bytes keep its head
    Headless, // FE FE to from FD: no command byte
};

} // namespace line
