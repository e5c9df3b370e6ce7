#include "radio/set_command_log.h"

#include "civ/frame.h"
#include "civ/reply_decoder.h"

#include <cstdio>

namespace radio {

namespace {

// Preamble, preamble, destination, source, command, end.
constexpr std::size_t kFrameOverhead = 6;

std::string codeName(int code, std::optional<std::string_view> name)
{
    if (name) {
        return std::string(*name);
    }
    return "0x" + civ::hexByte(code);
}

} // namespace

void SetCommandLog::released(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kFrameOverhead || bytes[0] != civ::kPreamble || bytes[1] != civ::kPreamble ||
        bytes.back() != civ::kEndOfMessage) {
        return;
    }
    const std::uint8_t command = bytes[4];
    if (command != civ::kCmdSetFrequency && command != civ::kCmdSetMode) {
        return;
    }
    const auto data = bytes.subspan(5, bytes.size() - kFrameOverhead);
    last_[bytes[2]] = SetCommand{command, std::vector<int>(data.begin(), data.end())};
}

std::string SetCommandLog::refusalText(int address) const
{
    return "Radio " + std::to_string(address) + " refused " + describe(address) + " (NG)";
}

std::string SetCommandLog::describe(int address) const
{
    if (address < 0 || address >= static_cast<int>(last_.size())) {
        return "a command";
    }
    const std::optional<SetCommand>& set = last_[static_cast<std::size_t>(address)];
    if (!set || (set->command == civ::kCmdSetMode && set->data.empty())) {
        return "a command";
    }
    const std::vector<int>& data = set->data;
    if (set->command == civ::kCmdSetFrequency) {
        return "frequency " + civ::formatKhz(civ::ParseFreq(data)) + " kHz";
    }
    std::string what = "mode " + codeName(data[0], civ::modeName(data[0]));
    if (data.size() > 1) {
        what += " / " + codeName(data[1], civ::filterName(data[1]));
    }
    return what;
}

} // namespace radio
