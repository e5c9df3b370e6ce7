#pragma once

#include "frame.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace civsim {

// What the line carries when several radios answer a read ID to all radios at once.
enum class Collision {
    None, // they take turns, as radios that wait for a quiet bus do
    Jam,  // each hears the other and sends the jam code
    Merge // open-collector outputs: a 0 bit from either wins, byte by byte
};

// Takes the read ID answers out of `replies` when two or more would collide, and returns the
// bytes the line carries instead; nothing when they do not collide.
std::optional<Bytes> collide(std::vector<Frame>& replies, Collision mode);

// The n-th report of another station's frequency to all, as a radio with CI-V Transceive on
// sends while its dial turns.
Frame chatterReport(std::uint8_t station, std::uint64_t n);

} // namespace civsim
