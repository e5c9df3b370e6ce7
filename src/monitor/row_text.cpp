#include "monitor/row_text.h"

#include "monitor/frame_description.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace monitor {

namespace {

std::string timeOfDay(std::chrono::system_clock::time_point wall)
{
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(wall.time_since_epoch()).count();
    const auto seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms % 1000));
    return text.data();
}

std::string_view directionText(Direction direction)
{
    switch (direction) {
    case Direction::Sent:
        return "sent";
    case Direction::Received:
        return "received";
    case Direction::Echo:
        return "echo";
    }
    return {};
}

std::string_view kindText(Kind kind)
{
    switch (kind) {
    case Kind::Frame:
        return "frame";
    case Kind::Jam:
        return "jam code";
    case Kind::Stray:
        return "bytes outside any frame";
    case Kind::Overlong:
        return "overlong frame";
    }
    return {};
}

std::string csvField(const std::string& field)
{
    if (field.find_first_of(",\"\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

} // namespace

std::string_view columnTitle(Column column)
{
    constexpr std::array<std::string_view, kColumnCount> kTitles{
        "Time", "Direction", "From", "To", "Command", "Value", "Raw bytes", "Round trip"};
    return kTitles[static_cast<std::size_t>(column)];
}

Cells cells(const Entry& entry)
{
    Cells c;
    auto at = [&c](Column column) -> std::string& { return c[static_cast<std::size_t>(column)]; };
    at(Column::Time) = timeOfDay(entry.at.wall);
    at(Column::Direction) = directionText(entry.direction);
    at(Column::Raw) = hexBytes(entry.bytes);
    if (entry.wireLength > entry.bytes.size()) {
        at(Column::Raw) += " ...";
    }
    if (entry.kind != Kind::Frame) {
        at(Column::Command) = kindText(entry.kind);
        if (entry.kind != Kind::Jam) {
            at(Column::Value) = std::to_string(entry.wireLength) + " bytes";
        }
        return c;
    }
    at(Column::From) = addressText(entry.bytes[3]);
    at(Column::To) = addressText(entry.bytes[2]);
    Description d = describe(entry.bytes);
    at(Column::Command) = std::move(d.command);
    at(Column::Value) = std::move(d.value);
    if (entry.roundTrip) {
        std::array<char, 32> text{};
        std::snprintf(text.data(), text.size(), "%.1f ms",
                      static_cast<double>(entry.roundTrip->count()) / 1000.0);
        at(Column::RoundTrip) = text.data();
    }
    return c;
}

std::string headerLine(TextFormat format)
{
    Cells titles;
    for (int i = 0; i < kColumnCount; ++i) {
        titles[static_cast<std::size_t>(i)] = columnTitle(static_cast<Column>(i));
    }
    return textLine(titles, format);
}

std::string textLine(const Cells& cells, TextFormat format)
{
    std::string line;
    for (const std::string& cell : cells) {
        if (&cell != cells.data()) {
            line += format == TextFormat::Csv ? ',' : '\t';
        }
        line += format == TextFormat::Csv ? csvField(cell) : cell;
    }
    return line + '\n';
}

bool RowFilter::matches(const Entry& entry) const
{
    if (direction && entry.direction != *direction) {
        return false;
    }
    if (!address && !command) {
        return true;
    }
    if (entry.kind != Kind::Frame) {
        return false;
    }
    return (!address || entry.bytes[2] == *address || entry.bytes[3] == *address) &&
           (!command || entry.bytes[4] == *command);
}

std::optional<std::uint8_t> parseAddress(std::string_view text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = hex ? text.substr(2) : text;
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    if (error != std::errc() || end != digits.data() + digits.size() || value > 0xFF) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace monitor
