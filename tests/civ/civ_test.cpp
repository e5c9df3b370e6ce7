// Edge cases of the CI-V core, as tables: the parser's states, the frame view, BCD and rounding,
// the readers of the mode table, addresses as typed, the ring.
#include "civ/address.h"
#include "civ/commands.h"
#include "civ/frame_parser.h"
#include "civ/frame_view.h"
#include "civ/modes.h"
#include "civ/reply_decoder.h"
#include "civ/transmit_queue.h"
#include "hex.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace civ {
namespace {

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What the parser made of the bytes: 'J' per jam, 'E' per frame end, 'O' per overlong frame
// end, then the last frame's destination, source, command and data (or their count).
std::string parse(const std::vector<int>& in)
{
    FrameParser p;
    std::string out;
    for (const int b : in) {
        const FrameParser::Event event = p.ParseByte(b);
        out += event == FrameParser::Event::Jam        ? "J"
               : event == FrameParser::Event::FrameEnd ? "E"
               : event == FrameParser::Event::None     ? ""
                                                       : "O";
    }
    char head[32];
    std::snprintf(head, sizeof head, " %02X %02X %02X |", p.parseToID, p.parseFromID, p.parseCmd);
    out += head;
    if (p.parseMsgLength > 8) {
        return out + " " + std::to_string(p.parseMsgLength) + " bytes";
    }
    for (int i = 0; i < p.parseMsgLength; ++i) {
        std::snprintf(head, sizeof head, " %02X", p.parseMsg[static_cast<std::size_t>(i)]);
        out += head;
    }
    return p.parseState == 0 ? out : out + " (in a frame)";
}

TEST(FrameParser, StateTable)
{
    const std::vector<int> header = {0xFE, 0xFE, 0xEA, 0x08, 0x03};
    const std::vector<int> jamPrefix = {0xFE, 0xFE, 0x08, 0xEA, 0x03, 0x11, 0x22};
    const std::vector<int> after = {0xFD, 0xFE, 0xFE, 0x01, 0x02, 0x04, 0x33, 0xFD};
    const std::vector<int> reply7074 = {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00,
                                        0x40, 0x07, 0x07, 0x00, 0xFD};
    // A name, the bytes, what the parser made of them.
    std::vector<std::tuple<std::string, std::vector<int>, std::string>> cases = {
        {"reply",
         {0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD},
         "E EA 5C 03 | 00 40 07 14 00"},
        {"no data", {0xFE, 0xFE, 0x08, 0xEA, 0xFB, 0xFD}, "E 08 EA FB |"},
        {"extra FE", {0xFE, 0xFE, 0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0xFD}, "E EA 5C 03 |"},
        {"FD and FE in the header", {0xFE, 0xFE, 0xFD, 0xFD, 0xFE, 0x01, 0xFD}, "E FD FD FE | 01"},
        {"cut short", concat({0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40}, reply7074),
         "E EA 08 03 | 00 40 07 07 00"},
        {"OK after a cut",
         {0xFE, 0xFE, 0xEA, 0xFE, 0xFE, 0xFE, 0xEA, 0x08, 0xFB, 0xFD},
         "E EA 08 FB |"},
        {"lone FE in data", {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0xFE, 0x01, 0xFD}, "E EA 08 03 | FE 01"},
        {"noise",
         {0x00, 0xFE, 0x13, 0xFE, 0x01, 0x02, 0x04, 0xFD, 0xFE, 0xFE, 0x05, 0x06, 0x07, 0xFD},
         "E 05 06 07 |"},
        {"two frames", concat(concat(header, {0x01, 0x02, 0xFD}), concat(header, {0x05, 0xFD})),
         "EE EA 08 03 | 05"},
        {"full", concat(concat(header, std::vector<int>(257, 0x42)), {0xFD}),
         "E EA 08 03 | 257 bytes"},
        {"after overlong",
         concat(concat(header, std::vector<int>(1000, 0x42)),
                concat(concat({0xFD}, header), {0x07, 0xFD})),
         "OE EA 08 03 | 07"},
    };
    for (std::size_t n = 0; n <= jamPrefix.size(); ++n) {
        const std::vector<int> jammed(jamPrefix.begin(), jamPrefix.begin() + long(n));
        cases.push_back({"jam after " + std::to_string(n) + " bytes",
                         concat(concat(jammed, {0xFC}), after), "JE 01 02 04 | 33"});
    }
    for (const auto& [name, in, parsed] : cases) {
        EXPECT_EQ(parse(in), parsed) << name;
    }
}

TEST(FrameView, FieldsPastAnyRunOfFe)
{
    // Bytes; to, from, command, sub-command; data.
    const std::tuple<const char*, std::array<int, 4>, const char*> cases[] = {
        {"FE FE FE FE 94 E0 03 FD", {0x94, 0xE0, 0x03, -1}, ""},
        {"FE FE E0 94 1C 00 01 FD", {0xE0, 0x94, 0x1C, 0x00}, "01"},
        {"FE FE E0 94 05 00 40 07 14", {0xE0, 0x94, 0x05, -1}, "00 40 07 14"},
        {"FE FE 94 E0 FD", {0x94, 0xE0, -1, -1}, ""},
    };
    for (const auto& [bytes, fields, data] : cases) {
        const Frame frame = hex(bytes);
        const FrameView v = viewFrame(frame);
        EXPECT_EQ((std::array<int, 4>{v.to, v.from, v.command, v.subCommand}), fields) << bytes;
        EXPECT_EQ(Frame(v.data(frame).begin(), v.data(frame).end()), hex(data)) << bytes;
    }
}

// The window shows what its own arithmetic makes of any digits; every other reader refuses them.
TEST(Bcd, LenientForTheWindowStrictForTheRest)
{
    const std::tuple<const char*, const char*, std::int64_t> cases[] = {
        {"00 40 07 14 00", "14074", 14074000},
        {"00 40 0A 14 00", "14104", -1},
        {"50 34 12 07", "7123.45", 7123450},
        {"00 00 00 68 03 01", "103680", 10368000000},
    };
    for (const auto& [bytes, khz, hz] : cases) {
        const Frame data = hex(bytes);
        EXPECT_EQ(formatKhz(ParseFreq(std::span<const std::uint8_t>(data))), khz) << bytes;
        EXPECT_EQ(frequencyHz(data).value_or(-1), hz) << bytes;
    }
}

TEST(Modes, EveryReaderNamesACodeFromTheOneTable)
{
    // Code, data flag; the window's display ("" leaves it unchanged), the monitor's, Hamlib's.
    const std::tuple<int, bool, const char*, const char*, const char*> cases[] = {
        {0x06, false, "FM-WIDE", "wide FM", "WFM"}, {0x0B, false, "SYNC-AM", "SYNC-AM", "AMS"},
        {0x11, false, "", "synchronous AM", "AMS"}, {0x17, false, "", "DV", ""},
        {0x02, true, "", "AM data", "PKTAM"},       {0x1F, false, "", "mode 0x1F", ""},
    };
    for (const auto& [code, data, window, words, hamlib] : cases) {
        EXPECT_EQ(data ? "" : modeName(code).value_or(""), std::string_view(window)) << words;
        EXPECT_EQ(modeWords(code, data), words);
        EXPECT_EQ(hamlibMode(code, data) ? hamlibMode(code, data)->hamlib : "", hamlib) << words;
    }
    EXPECT_EQ(modeForHamlib("AMS")->code, 0x11);
    for (const ModeRow& row : modeRows()) {
        EXPECT_EQ(row.withFilter ? modeName(row.code).value_or("") : "SSB", row.caption);
    }
}

TEST(Address, TypedInDecimalOrAsTheRadiosMenuShowsIt)
{
    const std::pair<const char*, int> cases[] = {
        {"148", 148}, {"0x94", 148}, {"0X94", 148}, {"94h", 148}, {"94H", 148}, {" 8 ", 8},
        {"", -1},     {"0x", -1},    {"0x100", -1}, {"300", -1},  {"abc", -1},  {"253", -1},
    };
    for (const auto& [typed, address] : cases) {
        EXPECT_EQ(readAddress(typed).value_or(-1), address) << typed;
    }
    EXPECT_EQ(addressRule("Radio ID"), "Radio ID must be a bus address from 0 to 255 except 252 "
                                       "to 254, in decimal (148) or in hex (0x94 or 94h).");
}

TEST(SetFrequency, RoundingAndRanges)
{
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    // Megahertz, the byte count, the frequency's bytes (none: refused as a frequency fault).
    const std::tuple<double, int, Frame> cases[] = {
        {7.0000004, 4, {0x00, 0x00, 0x00, 0x07}},
        {7.0000006, 4, {0x01, 0x00, 0x00, 0x07}},
        {99.999999, 4, {0x99, 0x99, 0x99, 0x99}},
        {9999.999999, 5, {0x99, 0x99, 0x99, 0x99, 0x99}},
        {1296.2, 5, {0x00, 0x00, 0x20, 0x96, 0x12}},
        {14.07, 0, {0x00, 0x00, 0x07, 0x14}},
        {14.07, 6, {0x00, 0x00, 0x07, 0x14}},
        {100, 4, {}},
        {99.9999996, 4, {}},
        {10000, 5, {}},
        {-0.000001, 4, {}},
        {kNan, 5, {}},
        {1e300, 5, {}},
    };
    for (const auto& [mhz, byteCount, data] : cases) {
        SCOPED_TRACE(testing::Message() << mhz << " MHz in " << byteCount << " bytes");
        const Command command = setFrequency(8, 234, mhz, byteCount);
        if (data.empty()) {
            EXPECT_EQ(command.fault, Fault::Frequency);
            EXPECT_TRUE(command.frame.empty());
            continue;
        }
        ASSERT_TRUE(command);
        EXPECT_EQ(Frame(command.frame.begin() + 5, command.frame.end() - 1), data);
    }
}

TEST(FormatKhz, PlainDecimalWithoutNoise)
{
    const std::pair<double, const char*> cases[] = {{7123.450000000001, "7123.45"},
                                                    {14073.999999999998, "14074"},
                                                    {0.0000001, "0"},
                                                    {0.000001, "0.000001"},
                                                    {-0.0, "0"},
                                                    {-2.5, "-2.5"}};
    for (const auto& [khz, text] : cases) {
        EXPECT_EQ(formatKhz(khz), text);
    }
    EXPECT_EQ(formatKhz(std::numeric_limits<double>::max()).size(), 309U);
}

TEST(TransmitQueue, ReleasesStopAtAnEndByteOrFiftyBytes)
{
    TransmitQueue q;
    Frame run(60);
    for (std::size_t i = 0; i < run.size(); ++i) {
        run[i] = static_cast<std::uint8_t>(i);
    }
    ASSERT_TRUE(q.SendSerialPacket(run));
    ASSERT_TRUE(q.SendSerialPacket(Frame{0x01, 0xFD, 0x02}));
    EXPECT_EQ(q.DoSerialOut(), Frame(run.begin(), run.begin() + 50));
    q.sendDelay = 0;
    Frame rest(run.begin() + 50, run.end());
    rest.insert(rest.end(), {0x01, 0xFD});
    EXPECT_EQ(q.DoSerialOut(), rest);
    q.sendDelay = 0;
    EXPECT_EQ(q.DoSerialOut(), Frame{0x02});
}

TEST(TransmitQueue, AFullRingRefusesWholeFramesAndKeepsWhatWaits)
{
    TransmitQueue q;
    q.serialBufHead = q.serialBufTail = 5000;
    Frame all;
    for (int i = 0; i < TransmitQueue::kSlots - 1; ++i) {
        all.push_back(static_cast<std::uint8_t>(i % 0xFD));
    }
    ASSERT_TRUE(q.SendSerialPacket(Frame(all.begin(), all.begin() + 9000)));
    EXPECT_FALSE(q.SendSerialPacket(Frame(1000, 0xAA)));
    ASSERT_TRUE(q.SendSerialPacket(Frame(all.begin() + 9000, all.end())));
    EXPECT_FALSE(q.SendSerialPacket(Frame{0xFD}));
    EXPECT_EQ(q.queued(), 9999);
    Frame drained;
    for (q.sendDelay = 0; q.queued() > 0; q.sendDelay = 0) {
        const Frame chunk = q.DoSerialOut();
        drained.insert(drained.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(drained, all);
}

} // namespace
} // namespace civ
