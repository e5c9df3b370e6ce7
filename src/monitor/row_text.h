// A log row in words: its columns, the saved file's lines, and the filter on rows.
#pragma once

#include "monitor/frame_log.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace monitor {

enum class Column { Time, Direction, Client, From, To, Command, Value, Raw, RoundTrip };
inline constexpr int kColumnCount = 9;

using Cells = std::array<std::string, kColumnCount>;

std::string_view columnTitle(Column column);
// A row in words: local time of day to the millisecond, addresses, command, value, raw bytes.
Cells cells(const Entry& entry);
// "main window", "check", "typed", "network 127.0.0.1:40512", "CI-V port /tmp/civ".
std::string clientText(const line::Origin& origin);

enum class TextFormat { Tabs, Csv };
// The name to save under: the chosen format's extension is added unless the name has it.
std::string withExtension(std::string path, TextFormat format);
// One line, ending in a line feed.
std::string headerLine(TextFormat format);
std::string textLine(const Cells& cells, TextFormat format);

// Rows to show; an unset part lets every row through.
struct RowFilter {
    std::optional<std::uint8_t> address; // either end of a frame
    std::optional<std::uint8_t> command;
    std::optional<line::Direction> direction;
    std::optional<line::Origin> client;

    bool matches(const Entry& entry) const;
};

// Hex, as the entry line reads bytes: "94" and "0x94" are both 148.
std::optional<std::uint8_t> parseAddress(std::string_view text);

} // namespace monitor
