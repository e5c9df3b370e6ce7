// Frames from their fields, for the window, the check, the monitor and the share alike.
#include "civ/frame_builder.h"

namespace civ {

Frame buildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                 std::span<const std::uint8_t> body)
{
    constexpr std::size_t kFraming = 6;
    Frame frame;
    frame.reserve(kFraming + body.size());
    // Byte by byte: GCC 12 at -O2 takes a range inserted after the head for an overflow.
    for (const std::uint8_t b : {kPreamble, kPreamble, to, from, command}) {
        frame.push_back(b);
    }
    for (const std::uint8_t b : body) {
        frame.push_back(b);
    }
    frame.push_back(kEndOfMessage);
    return frame;
}

Frame buildFrame(std::uint8_t to, std::uint8_t from, std::uint8_t command,
                 std::initializer_list<std::uint8_t> body)
{
    return buildFrame(to, from, command, std::span(body.begin(), body.size()));
}

} // namespace civ
