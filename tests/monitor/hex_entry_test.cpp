// Lines typed into the Bus Monitor: framed as typed, or refused with the reason why.
#include "civ/address.h"
#include "monitor/hex_entry.h"

#include <gtest/gtest.h>
#include <string>

namespace monitor {
namespace {

const civ::Frame kReadId{0xFE, 0xFE, 0x94, 0xE0, 0x19, 0x00, 0xFD};

TEST(HexEntry, FramesWhatIsTypedInEveryForm)
{
    // Radio ID and Our ID; a whole frame ignores them.
    const std::pair<const char*, std::pair<int, int>> cases[] = {
        {"19 00", {0x94, 0xE0}},          {"0x19 0X0", {0x94, 0xE0}},
        {"fefe94E01900fd", {1, 2}},       {" \t19\t 00 ", {0x94, 0xE0}},
        {"FE FE 94 E0 19 00 FD", {1, 2}}, {"FE FE 94 E0 19 00 FD", {253, 300}},
    };
    for (const auto& [text, ids] : cases) {
        const EntryResult r = parseEntry(text, ids.first, ids.second);
        EXPECT_EQ(r.frame, kReadId) << text;
        EXPECT_EQ(r.error, "") << text;
    }
}

TEST(HexEntry, RefusesWhatCannotBeFramedAndSaysWhy)
{
    const std::string fix =
        " Correct it in the main window, or type a whole frame from FE FE to FD.";
    const std::string reserved = " is reserved: FC, FD and FE cannot be inside a frame.";
    struct Case {
        std::string text;
        std::string error;
        int radio = 0x94;
        int our = 0xE0;
    } const cases[] = {
        {"  ", "Nothing to send: type hex bytes, such as 19 00."},
        {"19 GG", "\"GG\" at column 4 is not hex."},
        {"19 0x", "\"0x\" at column 4 is not hex."},
        {"19 1FF", "\"1FF\" at column 4 is outside 00 to FF (0 to 255)."},
        {"0x1900", "\"0x1900\" at column 1 is outside 00 to FF (0 to 255)."},
        {"FE FE 94 E0 19 00", "The frame ends in \"00\" at column 16, not in FD."},
        {"FE FE 94 FD",
         "A frame needs FE FE, two addresses, a command and FD; this one has 4 bytes."},
        {"19 FD 00", "\"FD\" at column 4" + reserved},
        {"FEFE94E014FCFD", "\"FC\" at column 11" + reserved},
        {"19 00", civ::addressRule("Radio ID") + fix, 253},
        {"19 00", civ::addressRule("Our ID") + fix, 0x94, 256},
        // 46 pairs of digits, and the frame's five bytes around them.
        {std::string(92, '1'), "The frame has 51 bytes; at most 50 go out at once."},
    };
    for (const Case& c : cases) {
        const EntryResult r = parseEntry(c.text, c.radio, c.our);
        EXPECT_EQ(r.frame, civ::Frame()) << c.text;
        EXPECT_EQ(r.error, c.error) << c.text;
    }
}

} // namespace
} // namespace monitor
