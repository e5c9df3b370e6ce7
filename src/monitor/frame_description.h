#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace monitor {

struct Description {
    std::string command; // in words, with the sub-command where it names the command
    std::string value;   // the decoded data; empty for a request without data
};

// A frame as the assembler cuts it: FE FE <to> <from> <command> [<data>...] FD.
Description describe(std::span<const std::uint8_t> frame);

// "0x94 (148)"; the broadcast address says so.
std::string addressText(int address);

// "FE FE 94 E0 19 00 FD".
std::string hexBytes(std::span<const std::uint8_t> bytes);

} // namespace monitor
