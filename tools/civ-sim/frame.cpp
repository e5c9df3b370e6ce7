// A frame's fields written out as bytes, and bytes as hex text.
#include "frame.h"

#include <algorithm>

namespace civsim {

Bytes Frame::encode() const
{
    Bytes out(data.size() + 6);
    out[0] = kPreamble;
    out[1] = kPreamble;
    out[2] = dest;
    out[3] = src;
    out[4] = cmd;
    std::copy(data.begin(), data.end(), out.begin() + 5);
    out.back() = kEndOfMessage;
    return out;
}

std::string toHex(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

} // namespace civsim
