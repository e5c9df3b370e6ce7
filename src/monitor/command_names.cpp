// The tables of command and sub-command names in words, and their lookups.
#include "monitor/command_names.h"

#include <algorithm>
#include <array>

namespace monitor {

namespace {

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

} // namespace

std::span<const CodeName> commandNames()
{
    return kCommands;
}

std::span<const CodeName> subCommandNames(std::uint8_t command)
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

std::optional<std::string_view> nameOf(std::span<const CodeName> names, std::uint8_t code)
{
    const auto found = std::find_if(names.begin(), names.end(),
                                    [code](const CodeName& n) { return n.code == code; });
    if (found == names.end()) {
        return std::nullopt;
    }
    return found->name;
}

} // namespace monitor
