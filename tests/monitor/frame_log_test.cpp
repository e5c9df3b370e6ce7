// The Bus Monitor's log and its rows in words: capacity, every kind of row, names and filters.
#include "monitor/frame_log.h"
#include "monitor/row_text.h"

#include <gtest/gtest.h>
#include <vector>

namespace monitor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using line::Direction;
using line::Kind;

line::FrameEvent event(Direction direction, Kind kind, Bytes bytes, line::Millis at = 0)
{
    line::FrameEvent e(direction, kind, std::move(bytes));
    e.wireLength = e.bytes.size();
    e.at = at;
    return e;
}

const line::Origin kClient{line::Source::Network, 7, "127.0.0.1:40512"};

TEST(FrameLog, KeepsTheNewestHundredThousandRows)
{
    FrameLog log;
    log.setWallOffset(1000);
    for (int i = 0; i <= 100000; ++i) {
        const auto tag = static_cast<std::uint8_t>(i % 200);
        log.add(
            event(Direction::Received, Kind::Frame, {0xFE, 0xFE, 0x00, 0x94, 0x01, tag, 0xFD}, i));
    }
    EXPECT_EQ(log.entry(log.firstId()).wall, 1001);
    EXPECT_EQ(log.endId() - log.firstId(), 100000U);
    EXPECT_EQ(log.firstId(), 1U);
    EXPECT_EQ(log.entry(log.firstId()).bytes[5], 1);
    EXPECT_EQ(log.entry(log.endId() - 1).bytes[5], 100000 % 200);
}

TEST(RowText, EveryKindOfRowInWords)
{
    auto clash = event(Direction::Received, Kind::Frame, {0xFE, 0xFE, 0x94, 0xEA, 0x03, 0xFD});
    clash.clash = true;
    auto garbled = event(Direction::Echo, Kind::Frame, {0xFE, 0xFE, 0x95, 0xEA, 0x03, 0xFD});
    garbled.garbled = true;
    auto overlong =
        event(Direction::Received, Kind::Overlong, {0xFE, 0xFE, 0xEA, 0x94, 0x1A, 0x05});
    overlong.wireLength = 300;
    auto reply = event(Direction::Received, Kind::Frame, {0xFE, 0xFE, 0xEA, 0x94, 0xFA, 0xFD});
    reply.origin = kClient;
    reply.request = 9;
    reply.roundTrip = 31;
    struct Case {
        line::FrameEvent event;
        std::vector<std::string> cells; // Direction to Round trip
    } const cases[] = {
        {event(Direction::Sent, Kind::Frame, {0xFE, 0xFE, 0xFE, 0x94, 0xEA, 0x18, 0x01, 0xFD}),
         {"sent", "main window", "0xEA (234)", "0x94 (148)", "power on", "",
          "FE FE FE 94 EA 18 01 FD", ""}},
        {clash,
         {"received, address clash", "", "0xEA (234)", "0x94 (148)", "read frequency", "",
          "FE FE 94 EA 03 FD", ""}},
        {garbled,
         {"echo, garbled", "main window", "0xEA (234)", "0x95 (149)", "read frequency", "",
          "FE FE 95 EA 03 FD", ""}},
        {reply,
         {"received", "network 127.0.0.1:40512", "0x94 (148)", "0xEA (234)", "NG", "",
          "FE FE EA 94 FA FD", "31 ms"}},
        {event(Direction::Received, Kind::Headless, {0xFE, 0xFE, 0xEA, 0x94, 0xFD}),
         {"received", "", "0x94 (148)", "0xEA (234)", "no command byte", "5 bytes",
          "FE FE EA 94 FD", ""}},
        {overlong,
         {"received", "", "0x94 (148)", "0xEA (234)", "overlong frame", "300 bytes",
          "FE FE EA 94 1A 05 ...", ""}},
        {event(Direction::Received, Kind::Stray, {0x13, 0x37}),
         {"received", "", "", "", "bytes outside any frame", "2 bytes", "13 37", ""}},
        {event(Direction::Dropped, Kind::Frame, {0xFE, 0xFE, 0x94, 0xEA, 0x04, 0x11, 0x02, 0xFD}),
         {"dropped, never sent", "main window", "0xEA (234)", "0x94 (148)", "read mode",
          "synchronous AM / medium", "FE FE 94 EA 04 11 02 FD", ""}},
    };
    for (const Case& c : cases) {
        FrameLog log;
        log.add(c.event);
        const Cells row = cells(log.entry(0));
        SCOPED_TRACE(row[static_cast<std::size_t>(Column::Raw)]);
        EXPECT_EQ(std::vector(row.begin() + 1, row.end()), c.cells);
    }
}

TEST(RowText, SavedNamesTakeTheChosenFormatsExtension)
{
    EXPECT_EQ(withExtension("rows", TextFormat::Csv), "rows.csv");
    EXPECT_EQ(withExtension("rows.CSV", TextFormat::Csv), "rows.CSV");
    EXPECT_EQ(withExtension("rows.csv", TextFormat::Tabs), "rows.csv.txt");
    EXPECT_EQ(withExtension("rows.txt", TextFormat::Tabs), "rows.txt");
}

TEST(RowText, AddressFilterReadsHexLikeTheEntryLine)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"94", 0x94}, {"0x94", 0x94}, {"e0", 0xE0}, {"100", {}}, {"0x", {}}, {"g1", {}}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(parseAddress(text), value) << text;
    }
}

} // namespace
} // namespace monitor
