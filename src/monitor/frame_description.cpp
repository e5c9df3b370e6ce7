// The values each command carries, decoded to words, and a frame's bytes as hex.
#include "monitor/frame_description.h"

#include "civ/address.h"
#include "civ/bcd.h"
#include "civ/modes.h"
#include "civ/reply_decoder.h"
#include "monitor/command_names.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

namespace monitor {

namespace {

using Bytes = std::span<const std::uint8_t>;

using Name = CodeName;

constexpr std::array kVfoChoices{
    Name{0x00, "VFO A"},      Name{0x01, "VFO B"}, Name{0xA0, "A = B"},
    Name{0xB0, "swap A / B"}, Name{0xD0, "main"},  Name{0xD1, "sub"},
};
constexpr std::array kSplitChoices{
    Name{0x00, "split off"}, Name{0x01, "split on"}, Name{0x10, "simplex"},
    Name{0x11, "duplex -"},  Name{0x12, "duplex +"},
};
constexpr std::array kOffOn{Name{0x00, "off"}, Name{0x01, "on"}};
constexpr std::array kTuner{Name{0x00, "off"}, Name{0x01, "on"}, Name{0x02, "tune"}};
constexpr std::array kTransmitting{Name{0x00, "receive"}, Name{0x01, "transmit"}};

std::string named(std::span<const Name> names, std::uint8_t code, std::string_view what)
{
    if (const auto name = nameOf(names, code)) {
        return std::string(*name);
    }
    return std::string(what) + " 0x" + civ::hexByte(code);
}

std::optional<std::string> frequency(Bytes data)
{
    const auto hz = civ::frequencyHz(data);
    if (!hz) {
        return std::nullopt;
    }
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%lld.%06lld MHz",
                  static_cast<long long>(*hz / 1000000), static_cast<long long>(*hz % 1000000));
    return std::string(text.data());
}

std::optional<std::string> mode(Bytes data)
{
    if (data.empty() || data.size() > 2) {
        return std::nullopt;
    }
    return data.size() == 1 ? civ::modeWords(data[0])
                            : civ::modeWords(data[0]) + " / " + civ::filterWords(data[1]);
}

// Mode, data mode, filter.
std::optional<std::string> vfoMode(Bytes data)
{
    if (data.size() != 3) {
        return mode(data);
    }
    return civ::modeWords(data[0], data[1] != 0) + " / " + civ::filterWords(data[2]);
}

std::optional<std::string> bandEdges(Bytes data)
{
    constexpr std::uint8_t kSeparator = 0x2D;
    const std::size_t half = data.size() / 2;
    if (data.size() % 2 == 0 || data[half] != kSeparator) {
        return std::nullopt;
    }
    const auto low = frequency(data.first(half));
    const auto high = frequency(data.last(half));
    if (!low || !high) {
        return std::nullopt;
    }
    return *low + " - " + *high;
}

std::optional<std::string> choice(std::span<const Name> names, Bytes data)
{
    if (data.size() != 1) {
        return std::nullopt;
    }
    const auto name = nameOf(names, data[0]);
    return name ? std::optional<std::string>(*name) : std::nullopt;
}

std::optional<std::string> number(Bytes data, std::string_view unit)
{
    const auto n = civ::bcdNumber(data);
    if (data.empty() || !n) {
        return std::nullopt;
    }
    return std::to_string(*n) + std::string(unit);
}

std::optional<std::string> memory(Bytes data)
{
    if (data.empty()) {
        return "memory mode";
    }
    const auto channel = number(data, "");
    return channel ? std::optional<std::string>("channel " + *channel) : std::nullopt;
}

std::optional<std::string> attenuator(Bytes data)
{
    if (data.size() == 1 && data[0] == 0) {
        return "off";
    }
    return number(data, " dB");
}

std::optional<std::string> antenna(std::uint8_t b)
{
    const auto n = civ::bcdByte(b);
    return n ? std::optional<std::string>("ANT" + std::to_string(*n + 1)) : std::nullopt;
}

std::optional<std::string> text(Bytes data)
{
    std::string out = "\"";
    for (const std::uint8_t b : data) {
        if (b < 0x20 || b > 0x7E) {
            return std::nullopt;
        }
        out += static_cast<char>(b);
    }
    return out + "\"";
}

std::optional<std::string> value(std::uint8_t command, std::uint8_t sub, Bytes data)
{
    switch (command) {
    case 0x00:
    case 0x03:
    case 0x05:
    case 0x25:
        return frequency(data);
    case 0x01:
    case 0x04:
    case 0x06:
        return mode(data);
    case 0x02:
        return bandEdges(data);
    case 0x07:
        return data.empty() ? std::optional<std::string>("VFO mode") : choice(kVfoChoices, data);
    case 0x08:
        return memory(data);
    case 0x0F:
        return choice(kSplitChoices, data);
    case 0x11:
        return attenuator(data);
    case 0x12:
        return data.size() == 1 ? antenna(data[0]) : std::nullopt;
    case 0x14:
    case 0x15:
        return number(data, "");
    case 0x16:
        return sub == 0x02 || sub == 0x12 ? number(data, "") : choice(kOffOn, data);
    case 0x17:
        return text(data);
    case 0x19:
        return data.size() == 1 ? std::optional<std::string>(civ::addressText(data[0]))
                                : std::nullopt;
    case 0x1C:
        return choice(sub == 0 ? std::span<const Name>(kTransmitting) : kTuner, data);
    case 0x26:
        return vfoMode(data);
    default:
        return std::nullopt;
    }
}

} // namespace

Description describe(const civ::FrameView& view, Bytes frame)
{
    if (view.command < 0) {
        return {"no command byte", {}};
    }
    const auto command = static_cast<std::uint8_t>(view.command);
    // A sub-command without a name of its own is told as part of the value.
    Bytes data = view.body(frame);
    Description d;
    std::uint8_t sub = 0;
    const std::span<const Name> subs = subCommandNames(command);
    if (!subs.empty() && view.subCommand >= 0) {
        sub = static_cast<std::uint8_t>(view.subCommand);
        d.command = named(subs, sub, named(commandNames(), command, "command"));
        data = view.data(frame);
    } else {
        d.command = named(commandNames(), command, "command");
    }
    if (data.empty() && command != 0x07 && command != 0x08) {
        return d;
    }
    d.value = value(command, sub, data).value_or(hexBytes(data));
    return d;
}

std::string hexBytes(Bytes bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += civ::hexByte(b);
    }
    return text;
}

} // namespace monitor
