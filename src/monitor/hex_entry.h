// Frames typed by hand in the Bus Monitor, and the lines sent before.
#pragma once

#include "civ/frame.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace monitor {

// A line typed by hand, as a frame ready to queue, or why it cannot be sent.
struct EntryResult {
    civ::Frame frame;
    std::string error;

    explicit operator bool() const { return error.empty(); }
};

// Hex bytes separated by blanks, with or without 0x, or runs of digit pairs ("1900"). Either
// a whole frame from FE FE to FD, or a command and its data, which are framed from our address
// to the radio's.
EntryResult parseEntry(std::string_view text, int radioAddress, int ourAddress);

// Lines sent earlier, for Up and Down in the entry line.
class EntryHistory {
public:
    void add(const std::string& line);
    // Each step hands out the line to show. Leaving the line being typed keeps it, and it
    // comes back past the newest.
    std::optional<std::string> older(const std::string& typing);
    std::optional<std::string> newer();

private:
    static constexpr std::size_t kMaxLines = 100;
    std::vector<std::string> lines_;
    std::size_t position_ = 0;
    std::string typing_;
};

} // namespace monitor
