#include "share/rigctl_commands.h"

#include <array>

namespace share {

namespace {

struct CommandRow {
    char shortName; // 0 when the command has only its long name
    std::string_view longName;
    Command command;
    std::size_t args;
};

constexpr std::array<CommandRow, 15> kCommands{{
    {'f', "get_freq", Command::GetFreq, 0},
    {'F', "set_freq", Command::SetFreq, 1},
    {'m', "get_mode", Command::GetMode, 0},
    {'M', "set_mode", Command::SetMode, 2},
    {'v', "get_vfo", Command::GetVfo, 0},
    {'V', "set_vfo", Command::SetVfo, 1},
    {'s', "get_split_vfo", Command::GetSplitVfo, 0},
    {'S', "set_split_vfo", Command::SetSplitVfo, 2},
    {'t', "get_ptt", Command::GetPtt, 0},
    {'T', "set_ptt", Command::SetPtt, 1},
    {0, "get_powerstat", Command::GetPowerstat, 0},
    {0, "chk_vfo", Command::ChkVfo, 0},
    {0, "dump_state", Command::DumpState, 0},
    {0, "get_lock_mode", Command::GetLockMode, 0},
    {'q', "quit", Command::Quit, 0},
}};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string> words(std::string_view text)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i])) {
            ++i;
        }
        if (i > start) {
            out.emplace_back(text.substr(start, i - start));
        }
    }
    return out;
}

const CommandRow* find(std::string_view name)
{
    for (const CommandRow& row : kCommands) {
        const bool byShort = name.size() == 1 && row.shortName == name[0];
        const bool byLong = name.size() > 1 && name[0] == '\\' && name.substr(1) == row.longName;
        if (byShort || byLong) {
            return &row;
        }
    }
    // Hamlib's own client ends with 'q'; 'Q' is its other spelling.
    return name == "Q" ? &kCommands.back() : nullptr;
}

} // namespace

std::optional<ParsedLine> parseLine(std::string_view line)
{
    std::vector<std::string> parts = words(line);
    if (parts.empty()) {
        return std::nullopt;
    }
    ParsedLine parsed;
    const char first = parts.front().front();
    if (first == '+' || first == ';' || first == '|' || first == ',') {
        parsed.separator = first == '+' ? '\n' : first;
        parts.front().erase(0, 1);
        if (parts.front().empty()) {
            parts.erase(parts.begin());
        }
        if (parts.empty()) {
            return parsed;
        }
    }
    const CommandRow* const row = find(parts.front());
    parsed.longName = row ? std::string(row->longName) : parts.front();
    parsed.args.assign(parts.begin() + 1, parts.end());
    if (row) {
        parsed.command = row->command;
        parsed.wrongCount = parsed.args.size() != row->args;
    }
    return parsed;
}

} // namespace share
