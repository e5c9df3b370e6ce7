// Lines typed into the Bus Monitor: framed as typed, or refused with the reason why.
#include "civ/address.h"
#include "monitor/hex_entry.h"

#include <gtest/gtest.h>
#include <string>

namespace monitor {
namespace {

const civ::Frame kReadId{0xFE, 0xFE, 0x94, 0xE0, 0x19, 0x00, 0xFD};
const std::string kFix = " Correct it in the main window, or type a whole frame from FE FE to FD.";

TEST(HexEntry, FramesWhatIsTypedOrSaysWhyNot)
{
    std::string longLine;
    for (int i = 0; i < 46; ++i) {
        longLine += "01 ";
    }
    struct Case {
        const char* name;
        std::string text;
        int radio;
        int our;
        civ::Frame frame; // empty when refused
        std::string error;
    } const cases[] = {
        {"command and data", "19 00", 0x94, 0xE0, kReadId, ""},
        {"whole frame", "FE FE 94 E0 19 00 FD", 1, 2, kReadId, ""},
        {"0x prefixes", "0x19 0X0", 0x94, 0xE0, kReadId, ""},
        {"run of pairs", "fefe94E01900fd", 1, 2, kReadId, ""},
        {"blanks and tabs", " \t19\t 00 ", 0x94, 0xE0, kReadId, ""},
        {"whole frame ignores the fields", "FE FE 94 E0 19 00 FD", 253, 300, kReadId, ""},
        {"empty", "  ", 0x94, 0xE0, {}, "Nothing to send: type hex bytes, such as 19 00."},
        {"bad hex", "19 GG", 0x94, 0xE0, {}, "\"GG\" at column 4 is not hex."},
        {"bare prefix", "19 0x", 0x94, 0xE0, {}, "\"0x\" at column 4 is not hex."},
        {"three digits",
         "19 1FF",
         0x94,
         0xE0,
         {},
         "\"1FF\" at column 4 is outside 00 to FF (0 to 255)."},
        {"decimal 256",
         "256",
         0x94,
         0xE0,
         {},
         "\"256\" at column 1 is outside 00 to FF (0 to 255)."},
        {"prefixed word",
         "0x1900",
         0x94,
         0xE0,
         {},
         "\"0x1900\" at column 1 is outside 00 to FF (0 to 255)."},
        {"no end byte",
         "FE FE 94 E0 19 00",
         0x94,
         0xE0,
         {},
         "The frame ends in \"00\" at column 16, not in FD."},
        {"too short",
         "FE FE 94 FD",
         0x94,
         0xE0,
         {},
         "A frame needs FE FE, two addresses, a command and FD; this one has 4 bytes."},
        {"end byte in data",
         "19 FD 00",
         0x94,
         0xE0,
         {},
         "\"FD\" at column 4 is reserved: FC, FD and FE cannot be inside a frame."},
        {"jam in a pair run",
         "FEFE94E014FCFD",
         0x94,
         0xE0,
         {},
         "\"FC\" at column 11 is reserved: FC, FD and FE cannot be inside a frame."},
        {"radio ID", "19 00", 253, 0xE0, {}, civ::addressRule("Radio ID") + kFix},
        {"our ID", "19 00", 0x94, 256, {}, civ::addressRule("Our ID") + kFix},
        {"longer than a release",
         longLine,
         1,
         2,
         {},
         "The frame has 51 bytes; at most 50 go out at once."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EntryResult r = parseEntry(c.text, c.radio, c.our);
        EXPECT_EQ(r.frame, c.frame);
        EXPECT_EQ(r.error, c.error);
    }
}

} // namespace
} // namespace monitor
