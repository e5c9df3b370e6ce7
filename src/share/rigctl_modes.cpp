#include "share/rigctl_modes.h"

#include <array>
#include <cstdlib>

namespace share {

namespace {

struct ModeRow {
    std::string_view name;
    unsigned bit;
    std::array<int, 3> widths; // wide, medium, narrow
};

// Indexed by the CI-V mode code.
constexpr std::array<ModeRow, 9> kModes{{
    {"LSB", 0x8, {3000, 2400, 1800}},
    {"USB", 0x4, {3000, 2400, 1800}},
    {"AM", 0x1, {9000, 6000, 3000}},
    {"CW", 0x2, {1200, 500, 250}},
    {"RTTY", 0x10, {2400, 500, 250}},
    {"FM", 0x20, {15000, 10000, 7000}},
    {"WFM", 0x40, {230000, 230000, 230000}},
    {"CWR", 0x80, {1200, 500, 250}},
    {"RTTYR", 0x100, {2400, 500, 250}},
}};

const ModeRow* row(int civMode)
{
    if (civMode < 0 || civMode >= static_cast<int>(kModes.size())) {
        return nullptr;
    }
    return &kModes[static_cast<std::size_t>(civMode)];
}

} // namespace

std::optional<std::string_view> hamlibModeName(int civMode)
{
    const ModeRow* const r = row(civMode);
    if (!r) {
        return std::nullopt;
    }
    return r->name;
}

std::optional<int> civModeCode(std::string_view hamlibName)
{
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        if (kModes[i].name == hamlibName) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

unsigned hamlibModeBit(int civMode)
{
    const ModeRow* const r = row(civMode);
    return r ? r->bit : 0;
}

int passbandHz(int civMode, int filter)
{
    const ModeRow* const r = row(civMode);
    if (!r) {
        return 0;
    }
    const int index = filter >= 1 && filter <= 3 ? filter - 1 : 1;
    return r->widths[static_cast<std::size_t>(index)];
}

FilterChoice filterFor(int civMode, std::int64_t passband)
{
    if (passband == -1) {
        return {};
    }
    const ModeRow* const r = row(civMode);
    if (passband < -1 || !r) {
        FilterChoice invalid;
        invalid.valid = false;
        return invalid;
    }
    if (passband == 0) {
        return {true, 2};
    }
    int best = 1;
    for (int f = 2; f <= 3; ++f) {
        if (std::llabs(r->widths[static_cast<std::size_t>(f - 1)] - passband) <
            std::llabs(r->widths[static_cast<std::size_t>(best - 1)] - passband)) {
            best = f;
        }
    }
    return {true, best};
}

} // namespace share
