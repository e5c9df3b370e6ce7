#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace monitor {

struct Description {
    std::string command; // in words, with the sub-command where it names the command
    std::string value;   // the decoded data; empty for a request without data
};

// A frame's fields past its run of FE; -1 where the frame ends before them. data stops short of
// a final FD.
struct Head {
    int to = -1;
    int from = -1;
    int command = -1;
    std::span<const std::uint8_t> data;
};
Head head(std::span<const std::uint8_t> frame);

// A frame as the account cuts it: FE FE [FE...] <to> <from> <command> [<data>...] FD.
Description describe(std::span<const std::uint8_t> frame);

// As the CI-V reference names them; unknown ones in hex.
std::string modeText(std::uint8_t mode);

// "0x94 (148)"; the broadcast address says so.
std::string addressText(int address);

// "FE FE 94 E0 19 00 FD".
std::string hexBytes(std::span<const std::uint8_t> bytes);

} // namespace monitor
