// The rates of the rate pop-up, row by row, and the one it starts at.
#pragma once

#include <array>

namespace serial {

// Row i of the rate pop-up selects kBaudRates[i]; the row texts are labels only.
inline constexpr std::array<int, 14> kBaudRates{300,  600,  1200,  1800,  2400,  3600,  4800,
                                                7200, 9600, 14400, 19200, 28800, 38400, 57600};
inline constexpr int kDefaultBaudCode = 8;

constexpr int baudRateForCode(int code)
{
    if (code < 0 || code >= static_cast<int>(kBaudRates.size())) {
        code = kDefaultBaudCode;
    }
    return kBaudRates[static_cast<std::size_t>(code)];
}

} // namespace serial
