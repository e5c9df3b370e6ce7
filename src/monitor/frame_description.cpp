#include "monitor/frame_description.h"

#include "civ/reply_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

namespace monitor {

namespace {

using Bytes = std::span<const std::uint8_t>;

using Name = CodeName;

constexpr std::array kCommands{
    Name{0x00, "transceive frequency"},
    Name{0x01, "transceive mode"},
    Name{0x02, "read band edges"},
    Name{0x03, "read frequency"},
    Name{0x04, "read mode"},
    Name{0x05, "set frequency"},
    Name{0x06, "set mode"},
    Name{0x07, "select VFO"},
    Name{0x08, "select memory"},
    Name{0x09, "write memory"},
    Name{0x0A, "memory to VFO"},
    Name{0x0B, "clear memory"},
    Name{0x0C, "read duplex offset"},
    Name{0x0D, "set duplex offset"},
    Name{0x0E, "scan"},
    Name{0x0F, "split / duplex"},
    Name{0x10, "tuning step"},
    Name{0x11, "attenuator"},
    Name{0x12, "antenna"},
    Name{0x13, "speech"},
    Name{0x14, "level"},
    Name{0x15, "meter"},
    Name{0x16, "function"},
    Name{0x17, "send CW"},
    Name{0x18, "power"},
    Name{0x19, "read ID"},
    Name{0x1A, "memory and settings"},
    Name{0x1B, "tone"},
    Name{0x1C, "transmit"},
    Name{0x1E, "band edges"},
    Name{0x21, "RIT / \xCE\x94TX"},
    Name{0x25, "VFO frequency"},
    Name{0x26, "VFO mode"},
    Name{0x27, "spectrum scope"},
    Name{0xFA, "NG"},
    Name{0xFB, "OK"},
};

constexpr std::array kLevels{
    Name{0x01, "AF level"},       Name{0x02, "RF level"},       Name{0x03, "squelch"},
    Name{0x06, "NR level"},       Name{0x07, "inner PBT"},      Name{0x08, "outer PBT"},
    Name{0x09, "CW pitch"},       Name{0x0A, "RF power"},       Name{0x0B, "mic gain"},
    Name{0x0C, "key speed"},      Name{0x0D, "notch position"}, Name{0x0E, "compressor level"},
    Name{0x0F, "break-in delay"}, Name{0x12, "NB level"},       Name{0x15, "monitor gain"},
    Name{0x16, "VOX gain"},       Name{0x17, "anti-VOX gain"},
};

constexpr std::array kMeters{
    Name{0x01, "squelch status"}, Name{0x02, "S-meter"},       Name{0x11, "power meter"},
    Name{0x12, "SWR meter"},      Name{0x13, "ALC meter"},     Name{0x14, "compression meter"},
    Name{0x15, "voltage meter"},  Name{0x16, "current meter"},
};

constexpr std::array kFunctions{
    Name{0x02, "preamp"},        Name{0x12, "AGC"},
    Name{0x22, "noise blanker"}, Name{0x40, "noise reduction"},
    Name{0x41, "auto notch"},    Name{0x42, "repeater tone"},
    Name{0x43, "tone squelch"},  Name{0x44, "compressor"},
    Name{0x45, "monitor"},       Name{0x46, "VOX"},
    Name{0x47, "break-in"},      Name{0x48, "manual notch"},
};

constexpr std::array kPower{Name{0x00, "power off"}, Name{0x01, "power on"}};
constexpr std::array kReadIdSub{Name{0x00, "read ID"}};
constexpr std::array kTransmit{Name{0x00, "transmit"}, Name{0x01, "antenna tuner"}};
constexpr std::array kVfoFrequency{Name{0x00, "selected VFO frequency"},
                                   Name{0x01, "unselected VFO frequency"}};
constexpr std::array kVfoMode{Name{0x00, "selected VFO mode"}, Name{0x01, "unselected VFO mode"}};

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

std::optional<std::string_view> lookUp(std::span<const Name> names, std::uint8_t code)
{
    const auto found =
        std::find_if(names.begin(), names.end(), [code](const Name& n) { return n.code == code; });
    if (found == names.end()) {
        return std::nullopt;
    }
    return found->name;
}

std::string hex2(std::uint8_t b)
{
    std::array<char, 3> text{};
    std::snprintf(text.data(), text.size(), "%02X", b);
    return {text.data(), 2};
}

std::string named(std::span<const Name> names, std::uint8_t code, std::string_view what)
{
    if (const auto name = lookUp(names, code)) {
        return std::string(*name);
    }
    return std::string(what) + " 0x" + hex2(code);
}

std::optional<int> bcdDigit(int nibble)
{
    return nibble <= 9 ? std::optional<int>(nibble) : std::nullopt;
}

// Packed BCD with the most significant pair first, as levels and channels are sent.
std::optional<std::uint64_t> bcdNumber(Bytes data)
{
    std::uint64_t n = 0;
    for (const std::uint8_t b : data) {
        const auto high = bcdDigit(b >> 4);
        const auto low = bcdDigit(b & 0x0F);
        if (!high || !low) {
            return std::nullopt;
        }
        n = n * 100 + static_cast<std::uint64_t>(*high * 10 + *low);
    }
    return n;
}

std::optional<std::string> frequency(Bytes data)
{
    if (data.size() < 4 || data.size() > 6) {
        return std::nullopt;
    }
    // Frequencies come least significant pair first.
    std::array<std::uint8_t, 6> reversed{};
    std::reverse_copy(data.begin(), data.end(), reversed.begin());
    const auto hz = bcdNumber(Bytes(reversed.data(), data.size()));
    if (!hz) {
        return std::nullopt;
    }
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%llu.%06llu MHz",
                  static_cast<unsigned long long>(*hz / 1000000),
                  static_cast<unsigned long long>(*hz % 1000000));
    return std::string(text.data());
}

std::string modeText(std::uint8_t mode)
{
    if (const auto name = civ::modeName(mode)) {
        return std::string(*name);
    }
    return "mode 0x" + hex2(mode);
}

std::string filterText(std::uint8_t filter)
{
    if (const auto name = civ::filterName(filter)) {
        return std::string(*name);
    }
    return "filter 0x" + hex2(filter);
}

std::optional<std::string> mode(Bytes data)
{
    if (data.empty() || data.size() > 2) {
        return std::nullopt;
    }
    return data.size() == 1 ? modeText(data[0]) : modeText(data[0]) + " / " + filterText(data[1]);
}

// Mode, data mode, filter.
std::optional<std::string> vfoMode(Bytes data)
{
    if (data.size() != 3) {
        return mode(data);
    }
    return modeText(data[0]) + (data[1] != 0 ? " data / " : " / ") + filterText(data[2]);
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
    const auto name = lookUp(names, data[0]);
    return name ? std::optional<std::string>(*name) : std::nullopt;
}

std::optional<std::string> number(Bytes data, std::string_view unit)
{
    const auto n = bcdNumber(data);
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
    const auto n = bcdNumber(Bytes(&b, 1));
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

// The command's sub-command table, when its first data byte selects what the command is.
std::span<const Name> subCommands(std::uint8_t command)
{
    switch (command) {
    case 0x14:
        return kLevels;
    case 0x15:
        return kMeters;
    case 0x16:
        return kFunctions;
    case 0x18:
        return kPower;
    case 0x19:
        return kReadIdSub;
    case 0x1C:
        return kTransmit;
    case 0x25:
        return kVfoFrequency;
    case 0x26:
        return kVfoMode;
    default:
        return {};
    }
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
        return data.size() == 1 ? std::optional<std::string>(addressText(data[0])) : std::nullopt;
    case 0x1C:
        return choice(sub == 0 ? std::span<const Name>(kTransmitting) : kTuner, data);
    case 0x26:
        return vfoMode(data);
    default:
        return std::nullopt;
    }
}

} // namespace

std::span<const CodeName> commandNames()
{
    return kCommands;
}

Description describe(Bytes frame)
{
    constexpr std::size_t kShortest = 6;
    if (frame.size() < kShortest) {
        return {};
    }
    const std::uint8_t command = frame[4];
    Bytes data = frame.subspan(5, frame.size() - kShortest);
    Description d;
    std::uint8_t sub = 0;
    const std::span<const Name> subs = subCommands(command);
    if (!subs.empty() && !data.empty()) {
        sub = data[0];
        d.command = named(subs, sub, named(kCommands, command, "command"));
        data = data.subspan(1);
    } else {
        d.command = named(kCommands, command, "command");
    }
    if (data.empty() && command != 0x07 && command != 0x08) {
        return d;
    }
    d.value = value(command, sub, data).value_or(hexBytes(data));
    return d;
}

std::string addressText(int address)
{
    const auto byte = static_cast<std::uint8_t>(address);
    std::string text = "0x" + hex2(byte) + " (" + std::to_string(byte);
    return text + (byte == 0 ? ", broadcast)" : ")");
}

std::string hexBytes(Bytes bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += hex2(b);
    }
    return text;
}

} // namespace monitor
