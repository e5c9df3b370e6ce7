#pragma once

#include <cstdint>
#include <span>

namespace line {

// The fields of a frame as it lies on the wire; -1 for a field the bytes do not reach.
struct FrameFields {
    int to = -1;
    int from = -1;
    int command = -1;
    int subCommand = -1;                // only for commands that carry one
    std::span<const std::uint8_t> data; // after the command and its sub-command, FD excluded
    std::span<const std::uint8_t> afterCommand; // the sub-command too, FD excluded
};

// Reads past any run of leading FE; a trailing FD ends the fields.
FrameFields frameFields(std::span<const std::uint8_t> bytes);

// Commands whose first data byte picks what they act on.
bool hasSubCommand(int command);

// A request that asks for a value rather than changing one.
bool isRead(const FrameFields& request);

} // namespace line
