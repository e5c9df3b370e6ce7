// Bus addresses: which ones a frame can carry, how the operator may type one, how one is shown.
#pragma once

#include "civ/frame.h"

#include <optional>
#include <string>
#include <string_view>

namespace civ {

// A bus address must fit one byte and must not be a reserved code, or the frame it sits in
// would jam or break the bus.
constexpr bool isEncodableAddress(int address)
{
    return address >= 0 && address <= 0xFF && !isReservedByte(address);
}

// An address as the operator types it, blanks around allowed: decimal (148), or hex as the
// radios' menus show it (0x94, 94h, either case). Nothing for any other text, or for an address
// no frame can carry.
std::optional<int> readAddress(std::string_view text);

// What an address field must hold, as one sentence: "Radio ID must be a bus address ...".
std::string addressRule(std::string_view field);

// "0x94 (148)"; the broadcast address says so.
std::string addressText(int address);

} // namespace civ
