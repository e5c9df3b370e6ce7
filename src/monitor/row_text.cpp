// A row's cells in words, its lines as tabs or CSV, and the filter's test of a row.
#include "monitor/row_text.h"

#include "civ/address.h"
#include "monitor/frame_description.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace monitor {

namespace {

std::string timeOfDay(line::Millis ms)
{
    const auto seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms % 1000));
    return text.data();
}

std::string_view directionText(line::Direction direction)
{
    switch (direction) {
    case line::Direction::Sent:
        return "sent";
    case line::Direction::Received:
        return "received";
    case line::Direction::Echo:
        return "echo";
    case line::Direction::Dropped:
        return "dropped, never sent";
    }
    return {};
}

std::string_view kindText(line::Kind kind)
{
    switch (kind) {
    case line::Kind::Frame:
        return "frame";
    case line::Kind::Jam:
        return "jam code";
    case line::Kind::Stray:
        return "bytes outside any frame";
    case line::Kind::Overlong:
        return "overlong frame";
    case line::Kind::Headless:
        return "no command byte";
    }
    return {};
}

bool hasAddresses(line::Kind kind)
{
    return kind == line::Kind::Frame || kind == line::Kind::Overlong ||
           kind == line::Kind::Headless;
}

bool endsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
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
        "Time", "Direction", "Client", "From", "To", "Command", "Value", "Raw bytes", "Round trip"};
    return kTitles[static_cast<std::size_t>(column)];
}

Cells cells(const Entry& entry)
{
    Cells c;
    auto at = [&c](Column column) -> std::string& { return c[static_cast<std::size_t>(column)]; };
    at(Column::Time) = timeOfDay(entry.wall);
    at(Column::Direction) = directionText(entry.direction);
    if (entry.clash) {
        at(Column::Direction) += ", address clash";
    }
    if (entry.garbled) {
        at(Column::Direction) += ", garbled";
    }
    if (entry.client) {
        at(Column::Client) = clientText(*entry.client);
    }
    at(Column::Raw) = hexBytes(entry.bytes);
    if (entry.wireLength > entry.bytes.size()) {
        at(Column::Raw) += " ...";
    }
    if (hasAddresses(entry.kind)) {
        if (entry.view.from >= 0) {
            at(Column::From) = civ::addressText(entry.view.from);
        }
        if (entry.view.to >= 0) {
            at(Column::To) = civ::addressText(entry.view.to);
        }
    }
    if (entry.kind != line::Kind::Frame) {
        at(Column::Command) = kindText(entry.kind);
        if (entry.kind != line::Kind::Jam) {
            at(Column::Value) = std::to_string(entry.wireLength) + " bytes";
        }
        return c;
    }
    Description d = describe(entry.view, entry.bytes);
    at(Column::Command) = std::move(d.command);
    at(Column::Value) = std::move(d.value);
    if (entry.roundTrip) {
        at(Column::RoundTrip) = std::to_string(*entry.roundTrip) + " ms";
    }
    return c;
}

std::string clientText(const line::Origin& origin)
{
    switch (origin.source) {
    case line::Source::Window:
        return "main window";
    case line::Source::Check:
        return "check";
    case line::Source::Typed:
        return "typed";
    case line::Source::Network:
        return "network " + origin.label;
    case line::Source::CivPort:
        return "CI-V port " + origin.label;
    }
    return {};
}

std::string withExtension(std::string path, TextFormat format)
{
    const std::string_view extension = format == TextFormat::Csv ? ".csv" : ".txt";
    if (!endsWith(path, extension)) {
        path += extension;
    }
    return path;
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
    if ((direction && entry.direction != *direction) || (client && entry.client != client)) {
        return false;
    }
    if (!address && !command) {
        return true;
    }
    if (!hasAddresses(entry.kind)) {
        return false;
    }
    const civ::FrameView& v = entry.view;
    return (!address || v.to == *address || v.from == *address) &&
           (!command || v.command == *command);
}

std::optional<std::uint8_t> parseAddress(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFF) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace monitor
