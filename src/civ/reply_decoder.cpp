#include "civ/reply_decoder.h"

#include "civ/bcd.h"

#include <array>
#include <charconv>

namespace civ {

double ParseFreq(std::span<const int> msg)
{
    // The most significant pair arrives last, so each step shifts the earlier digits down.
    double f = 0.0;
    for (const int byte : msg) {
        f = f / 100 + ConvertBack(byte);
    }
    return msg.size() == 4 ? f * 1000 : f * 100000;
}

int ParseMode(std::span<const int> msg)
{
    return msg.size() > 1 ? msg[0] + 256 * msg[1] : msg[0];
}

std::optional<std::string_view> modeName(int modeCode)
{
    switch (modeCode) {
    case 0:
        return "LSB";
    case 1:
        return "USB";
    case 2:
        return "AM";
    case 3:
        return "CW";
    case 4:
        return "RTTY";
    case 5:
        return "FM";
    case 6:
        return "FM-WIDE";
    case 7:
        return "CW-REVERSE";
    case 8:
        return "RTTY-REVERSE";
    case 11:
        return "SYNC-AM";
    default:
        return std::nullopt;
    }
}

std::optional<std::string_view> filterName(int filterCode)
{
    switch (filterCode) {
    case 1:
        return "WIDE";
    case 2:
        return "MEDIUM";
    case 3:
        return "NARROW";
    default:
        return std::nullopt;
    }
}

std::string formatKhz(double khz)
{
    // Six decimals is below a hertz, which hides the noise of the decoding arithmetic.
    constexpr int kDecimals = 6;
    // Room for the largest finite double written out in full.
    std::array<char, 400> buf{};
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), khz,
                                      std::chars_format::fixed, kDecimals);
    std::string text(buf.data(), result.ptr);

    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    if (text == "-0") {
        return "0";
    }
    return text;
}

std::string hexByte(int byte)
{
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    const auto b = static_cast<unsigned>(byte) & 0xFFU;
    return {kDigits[b >> 4], kDigits[b & 0x0FU]};
}

} // namespace civ
