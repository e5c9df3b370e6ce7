#include "share/rigctl_commands.h"

#include <array>
#include <charconv>

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

constexpr std::array<std::string_view, 5> kOurVfos{"VFOA", "VFO", "currVFO", "Main", "MainA"};
constexpr std::array<std::string_view, 7> kOtherVfos{"VFOB",  "VFOC", "SubA", "SubB",
                                                     "MainB", "Sub",  "MEM"};

} // namespace

std::optional<std::int64_t> parseHz(std::string_view text)
{
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    std::int64_t hz = 0;
    const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), hz);
    if (whole.empty() || error != std::errc() || end != whole.data() + whole.size() ||
        whole.size() > 11) {
        return std::nullopt;
    }
    for (const char c : fraction) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    if (!fraction.empty() && fraction[0] >= '5') {
        ++hz;
    }
    return hz;
}

std::optional<std::int64_t> parseInt(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

Rprt vfoChoice(std::string_view name)
{
    for (const std::string_view v : kOurVfos) {
        if (v == name) {
            return Rprt::Ok;
        }
    }
    for (const std::string_view v : kOtherVfos) {
        if (v == name) {
            return Rprt::Unavailable;
        }
    }
    return Rprt::Invalid;
}

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
