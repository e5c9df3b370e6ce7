#include "radio/set_command_log.h"

#include <gtest/gtest.h>
#include <vector>

namespace radio {
namespace {

struct RefusalCase {
    const char* name;
    std::vector<std::vector<std::uint8_t>> releases;
    int address;
    const char* text;
};

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, NamesTheLastSetCommandReleasedToTheAddress)
{
    SetCommandLog log;
    for (const auto& release : GetParam().releases) {
        log.released(release);
    }
    EXPECT_EQ(log.refusalText(GetParam().address), GetParam().text);
}

const std::vector<std::uint8_t> kSetUsbWide{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x01, 0x01, 0xFD};

INSTANTIATE_TEST_SUITE_P(
    Releases, Refusal,
    ::testing::Values(
        RefusalCase{
            "ModeAndFilterByName", {kSetUsbWide}, 8, "Radio 8 refused mode USB / WIDE (NG)"},
        RefusalCase{"UnknownCodesInHex",
                    {{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x0C, 0x00, 0xFD}},
                    8,
                    "Radio 8 refused mode 0x0C / 0x00 (NG)"},
        RefusalCase{"FourByteFrequency",
                    {{0xFE, 0xFE, 0x5C, 0xEA, 0x05, 0x50, 0x34, 0x12, 0x07, 0xFD}},
                    92,
                    "Radio 92 refused frequency 7123.45 kHz (NG)"},
        RefusalCase{
            "TheLastOneCounts",
            {{0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD}, kSetUsbWide},
            8,
            "Radio 8 refused mode USB / WIDE (NG)"},
        RefusalCase{"NothingSetThere", {kSetUsbWide}, 9, "Radio 9 refused a command (NG)"},
        RefusalCase{"RequestsAreNotSetCommands",
                    {kSetUsbWide, {0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD}},
                    8,
                    "Radio 8 refused mode USB / WIDE (NG)"},
        RefusalCase{"PiecesAreNotFrames",
                    {{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x01}, {0x01, 0xFD}},
                    8,
                    "Radio 8 refused a command (NG)"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace radio
