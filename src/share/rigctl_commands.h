#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace share {

// Hamlib's error numbers, as RPRT sends them.
enum class Rprt : int {
    Ok = 0,
    Invalid = -1,
    Config = -2,
    NotImplemented = -4,
    Timeout = -5,
    Io = -6,
    Rejected = -9,
    Unavailable = -11,
    BusBusy = -14,
};

enum class Command {
    GetFreq,
    SetFreq,
    GetMode,
    SetMode,
    GetVfo,
    SetVfo,
    GetSplitVfo,
    SetSplitVfo,
    GetPtt,
    SetPtt,
    GetPowerstat,
    ChkVfo,
    DumpState,
    GetLockMode,
    Quit,
};

// One line as a client sent it, cut into its parts.
struct ParsedLine {
    std::optional<Command> command; // nothing: not a command this server knows
    std::string longName;           // "get_freq"
    std::vector<std::string> args;
    // Extended response protocol: the separator replacing newlines in the answer.
    std::optional<char> separator;
    // Arguments the command needs; set when args has another count.
    bool wrongCount = false;
};

// Whole hertz of a frequency argument; a fraction, as some clients send, is rounded.
std::optional<std::int64_t> parseHz(std::string_view text);
std::optional<std::int64_t> parseInt(std::string_view text);
// Ok for the program's one VFO, Unavailable for another Hamlib names, else Invalid.
Rprt vfoChoice(std::string_view name);

// Nothing for an empty line, which clients use to keep a connection awake.
std::optional<ParsedLine> parseLine(std::string_view line);

} // namespace share

namespace share {

// The radio's capabilities in the layout Hamlib's network client parses line by line at open.
std::string dumpState();

} // namespace share
