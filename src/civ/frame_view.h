// The one reading of a CI-V frame's fields: addresses, command, sub-command and data.
#pragma once

#include <cstdint>
#include <span>

namespace civ {

// Where the fields of FE FE [FE...] to from command [sub-command] [data...] FD lie in its bytes,
// read past any run of leading FE. A field the bytes do not reach is -1, and its data empty.
// Small, so that a log of many frames can keep one per frame.
struct FrameView {
    std::int16_t to = -1;
    std::int16_t from = -1;
    std::int16_t command = -1;
    std::int16_t subCommand = -1; // only for the commands that carry one
    std::uint16_t dataAt = 0;     // offsets into the bytes read; a final FD is not data
    std::uint16_t dataEnd = 0;

    // Given the bytes the view was read from: the data, past the command and its sub-command.
    std::span<const std::uint8_t> data(std::span<const std::uint8_t> bytes) const
    {
        return bytes.subspan(dataAt, dataEnd - dataAt);
    }
    // The sub-command, when there is one, and the data.
    std::span<const std::uint8_t> body(std::span<const std::uint8_t> bytes) const
    {
        const std::size_t at = subCommand >= 0 ? dataAt - 1U : dataAt;
        return bytes.subspan(at, dataEnd - at);
    }
    bool hasData() const { return dataAt < dataEnd; }
};

FrameView viewFrame(std::span<const std::uint8_t> bytes);

// Commands whose first byte after the command picks what they act on.
bool hasSubCommand(int command);

// A request that asks for a value rather than setting one.
bool isRead(const FrameView& request);

} // namespace civ
