#pragma once

#include "monitor/frame_log.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace monitor {

enum class Column { Time, Direction, From, To, Command, Value, Raw, RoundTrip };
inline constexpr int kColumnCount = 8;

using Cells = std::array<std::string, kColumnCount>;

std::string_view columnTitle(Column column);
// A row in words: local time of day to the millisecond, addresses, command, value, raw bytes.
Cells cells(const Entry& entry);

enum class TextFormat { Tabs, Csv };
// One line, ending in a line feed.
std::string headerLine(TextFormat format);
std::string textLine(const Cells& cells, TextFormat format);

// Rows to show; an unset part lets every row through.
struct RowFilter {
    std::optional<std::uint8_t> address; // either end of a frame
    std::optional<std::uint8_t> command;
    std::optional<Direction> direction;

    bool matches(const Entry& entry) const;
};

// "0x94" in hex, "148" in decimal.
std::optional<std::uint8_t> parseAddress(std::string_view text);

} // namespace monitor
