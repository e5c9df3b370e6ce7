// Modes and passbands between Hamlib's names and widths and CI-V's codes and filters.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace share {

// Hamlib's name for a CI-V mode code, with the data flag; nothing for what Hamlib cannot name.
std::optional<std::string_view> hamlibModeName(int civMode, bool data = false);

// Hamlib's mode bits of the modes 00..08, and of its packet modes, as \dump_state lists them.
inline constexpr unsigned kHamlibModeMask = 0x1FF;
inline constexpr unsigned kHamlibDataModeMask = 0x401C00;
unsigned hamlibModeBit(int civMode);

// Hz of the radio's filter 1 (wide), 2 (medium), 3 (narrow) in a mode; medium when unknown.
int passbandHz(int civMode, int filter);

// A client's passband as a filter code: -1 keeps the radio's filter (nothing), 0 asks for the
// mode's normal one, a width picks the nearest filter. Other negative widths are invalid.
struct FilterChoice {
    bool valid = true;
    std::optional<int> filter;
};
FilterChoice filterFor(int civMode, std::int64_t passband);

} // namespace share
