// Hamlib's network protocol as rigctld reads it: commands, requests, arguments, error codes.
#pragma once

#include <cstddef>
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

// The commands this server carries out; every other command of rigctld's is not implemented.
enum class Command {
    GetFreq,
    SetFreq,
    GetMode,
    SetMode,
    GetVfo,
    SetVfo,
    GetSplitVfo,
    SetSplitVfo,
    GetSplitFreq,
    SetSplitFreq,
    GetSplitMode,
    SetSplitMode,
    GetPtt,
    SetPtt,
    GetPowerstat,
    ChkVfo,
    DumpState,
    DumpCaps,
    GetLockMode,
};

// A command of Hamlib's network protocol as rigctld names and reads it.
struct CommandInfo {
    unsigned char code;    // its one-character name; above 0x7F it is sent by long name
    std::string_view name; // "get_freq"
    std::size_t args;      // words read after the name
    bool restOfLine;       // its one argument is the rest of the line (send_morse)
    bool reads;            // a read: its values end the answer, no "RPRT 0" in the default protocol
    std::optional<Command> ours;
};

const CommandInfo* commandByCode(unsigned char code);
const CommandInfo* commandByName(std::string_view name);

// One command as rigctld reads it from the stream of a client's bytes.
struct Request {
    // '+' or a separator came before it: the extended response protocol.
    bool extended = false;
    std::optional<char> separator;
    // Nothing: rigctld passes over it without an answer (an unknown name, a space, a comment).
    const CommandInfo* command = nullptr;
    std::vector<std::string> args;
    bool quit = false;
};

struct ReadResult {
    std::optional<Request> request; // nothing: the input ends before the command does
    std::size_t consumed = 0;       // bytes taken from the input, also when incomplete
};

// The next command at the front of input, read character by character as rigctld reads it:
// commands follow each other on a line, and arguments may continue on the next.
ReadResult readRequest(std::string_view input);

// Whole hertz of a frequency argument; a fraction, as some clients send, is rounded.
std::optional<std::int64_t> parseHz(std::string_view text);
std::optional<std::int64_t> parseInt(std::string_view text);
class RadioState;

// The radio's capabilities in the layout Hamlib's network client parses line by line at open;
// what the radio has refused is not claimed.
std::string dumpState(const RadioState& radio);
// What this program can do, in the layout of rigctld's capability dump.
std::string dumpCaps(const RadioState& radio);

} // namespace share
