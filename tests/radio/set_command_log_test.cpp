#include "radio/set_command_log.h"

#include <gtest/gtest.h>
#include <vector>

namespace radio {
namespace {

using Release = std::vector<std::uint8_t>;

TEST(SetCommandLog, NamesTheLastWholeSetCommandReleasedToTheRadio)
{
    const Release setUsbWide{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x01, 0x01, 0xFD};
    const Release setFreqOfRadio9{0xFE, 0xFE, 0x09, 0xEA, 0x05, 0x00, 0x40, 0x07, 0x14, 0xFD};
    const Release readMode{0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD};
    const std::pair<std::vector<Release>, const char*> cases[] = {
        {{setUsbWide, setFreqOfRadio9, readMode}, "Radio 8 refused mode USB / WIDE (NG)"},
        {{{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x0C, 0x00, 0xFD}},
         "Radio 8 refused mode 0x0C / 0x00 (NG)"},
        {{setFreqOfRadio9}, "Radio 8 refused a command (NG)"},
        {{{0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x01, 0x01}, {0xFD}}, "Radio 8 refused a command (NG)"}};
    for (const auto& [releases, text] : cases) {
        SetCommandLog log;
        for (const Release& release : releases) {
            log.released(release);
        }
        EXPECT_EQ(log.refusalText(8), text);
    }
}

} // namespace
} // namespace radio
