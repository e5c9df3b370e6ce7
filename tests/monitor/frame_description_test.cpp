// The Bus Monitor's words for a frame: command, sub-command and value.
#include "hex.h"
#include "monitor/frame_description.h"

#include <gtest/gtest.h>

namespace monitor {
namespace {

TEST(Describe, CommandAndValueInWords)
{
    struct Case {
        const char* frame;
        const char* command;
        const char* value;
    } const cases[] = {
        {"FE FE 94 E0 03 FD", "read frequency", ""},
        {"FE FE E0 94 03 00 40 07 14 00 FD", "read frequency", "14.074000 MHz"},
        {"FE FE E0 94 03 00 4A 07 14 00 FD", "read frequency", "00 4A 07 14 00"},
        {"FE FE E0 94 04 01 01 FD", "read mode", "USB / wide"},
        {"FE FE 00 94 01 03 FD", "transceive mode", "CW"},
        {"FE FE E0 94 26 00 01 01 02 FD", "selected VFO mode", "USB data / medium"},
        {"FE FE E0 94 FA FD", "NG", ""},
        {"FE FE 00 E0 19 00 FD", "read ID", ""},
        {"FE FE E0 94 19 00 94 FD", "read ID", "0x94 (148)"},
        {"FE FE E0 94 14 01 01 28 FD", "AF level", "128"},
        {"FE FE 94 E0 14 0A FD", "RF power", ""},
        {"FE FE 94 E0 14 7F 00 FD", "level 0x7F", "0"},
        {"FE FE 94 E0 16 45 01 FD", "monitor", "on"},
        {"FE FE 94 E0 1C 00 01 FD", "transmit", "transmit"},
        {"FE FE 94 E0 18 01 FD", "power on", ""},
        {"FE FE 94 E0 07 B0 FD", "select VFO", "swap A / B"},
        {"FE FE 94 E0 0F 01 FD", "split / duplex", "split on"},
        {"FE FE 94 E0 11 20 FD", "attenuator", "20 dB"},
        {"FE FE 94 E0 5C 01 FE FD", "command 0x5C", "01 FE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        const civ::Frame frame = hex(c.frame);
        const Description d = describe(civ::viewFrame(frame), frame);
        EXPECT_EQ(d.command, c.command);
        EXPECT_EQ(d.value, c.value);
    }
}

} // namespace
} // namespace monitor
