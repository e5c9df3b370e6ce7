// Reading, judging and showing bus addresses, for every field and line that holds one.
#include "civ/address.h"

#include "civ/reply_decoder.h"

namespace civ {

namespace {

constexpr std::string_view kBlanks = " \t";

int digitValue(char c, int base)
{
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// All of the digits, in the base; nothing when empty, when another character is among them or
// when the value passes a byte.
std::optional<int> number(std::string_view digits, int base)
{
    if (digits.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > 0xFF) {
            return std::nullopt;
        }
    }
    return value;
}

} // namespace

std::optional<int> readAddress(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
    constexpr int kHex = 16;
    std::optional<int> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = number(text.substr(2), kHex);
    } else if (text.back() == 'h' || text.back() == 'H') {
        value = number(text.substr(0, text.size() - 1), kHex);
    } else {
        value = number(text, 10);
    }
    return value && isEncodableAddress(*value) ? value : std::nullopt;
}

std::string addressRule(std::string_view field)
{
    return std::string(field) + " must be a bus address from 0 to 255 except 252 to 254, in "
                                "decimal (148) or in hex (0x94 or 94h).";
}

std::string addressText(int address)
{
    const auto byte = static_cast<std::uint8_t>(address);
    std::string text = "0x" + hexByte(byte) + " (" + std::to_string(byte);
    return text + (byte == kBroadcast ? ", broadcast)" : ")");
}

} // namespace civ
