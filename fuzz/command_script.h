// One fuzz_commands input: what an operator typed into the window and then did.
#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>

// Text, one field a line, so the seed corpus can be written by hand:
//   radio ID, our ID, frequency, kHz/MHz row, byte count, mode row, filter row, actions.
// The actions line runs to the end of the input; see kActions in fuzz_commands.cpp.
struct CommandScript {
    QString radioId;
    QString ourId;
    QString frequency;
    QString unitRow;
    QString byteCount;
    QString modeRow;
    QString filterRow;
    std::string actions;
};

CommandScript parseCommandScript(std::span<const std::uint8_t> data);
