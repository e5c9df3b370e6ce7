// A frame in the Bus Monitor's words: its command and value, and its bytes in hex.
#pragma once

#include "civ/frame_view.h"

#include <cstdint>
#include <span>
#include <string>

namespace monitor {

struct Description {
    std::string command; // in words, with the sub-command where it names the command
    std::string value;   // the decoded data; empty for a request without data
};

// A frame's command and value in words, from its view and the bytes the view was read from.
Description describe(const civ::FrameView& view, std::span<const std::uint8_t> frame);

// "FE FE 94 E0 19 00 FD".
std::string hexBytes(std::span<const std::uint8_t> bytes);

} // namespace monitor
