// Line rates: what a receiver at another rate hears, and the rate set on a terminal.
#pragma once

#include "frame.h"

#include <optional>
#include <span>

namespace civsim {

// What a receiver at heardAt bit/s makes of bytes sent back to back at sentAt bit/s, 8N1:
// it finds each start bit, samples mid-bit at its own rate and keeps what it sampled, as a
// UART without parity checking does also when the stop bit is wrong.
Bytes misheard(std::span<const std::uint8_t> bytes, int sentAt, int heardAt);

// The output rate set on the terminal behind fd, also one without a Bnnn constant.
std::optional<int> terminalRate(int fd);

} // namespace civsim
