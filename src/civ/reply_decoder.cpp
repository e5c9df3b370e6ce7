// A reply's mode and filter read, kHz written out plainly, and a byte as two hex digits.
#include "civ/reply_decoder.h"

#include <array>
#include <charconv>

namespace civ {

int ParseMode(std::span<const int> msg)
{
    return msg.size() > 1 ? msg[0] + 256 * msg[1] : msg[0];
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
