// Hamlib's mode names and bits for CI-V's modes, and passbands to and from filter codes.
#include "share/rigctl_modes.h"

#include "civ/modes.h"

#include <cstdlib>

namespace share {

std::optional<std::string_view> hamlibModeName(int civMode, bool data)
{
    const civ::Mode* const mode = civ::hamlibMode(civMode, data);
    return mode ? std::optional(mode->hamlib) : std::nullopt;
}

unsigned hamlibModeBit(int civMode)
{
    const civ::Mode* const mode = civ::hamlibMode(civMode);
    return mode ? mode->hamlibBit : 0;
}

int passbandHz(int civMode, int filter)
{
    const civ::Mode* const mode = civ::hamlibMode(civMode);
    if (!mode) {
        return 0;
    }
    const int index = filter >= 1 && filter <= 3 ? filter - 1 : 1;
    return mode->widths[static_cast<std::size_t>(index)];
}

FilterChoice filterFor(int civMode, std::int64_t passband)
{
    if (passband == -1) {
        return {};
    }
    const civ::Mode* const mode = civ::hamlibMode(civMode);
    if (passband < -1 || !mode) {
        FilterChoice invalid;
        invalid.valid = false;
        return invalid;
    }
    if (passband == 0) {
        return {true, 2};
    }
    int best = 1;
    for (int f = 2; f <= 3; ++f) {
        if (std::llabs(mode->widths[static_cast<std::size_t>(f - 1)] - passband) <
            std::llabs(mode->widths[static_cast<std::size_t>(best - 1)] - passband)) {
            best = f;
        }
    }
    return {true, best};
}

} // namespace share
