// Arbitrary bus traffic through frame assembly and the reply decoding the window does. The first
// byte is the controller's own address; the rest is the line.
#include "civ/bcd.h"
#include "civ/frame.h"
#include "civ/frame_parser.h"
#include "civ/modes.h"
#include "civ/reply_decoder.h"
#include "fuzz_check.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace {

// Kept apart from the decoder's own tables on purpose: a changed or garbled name shows up here.
constexpr std::array<std::string_view, 10> kModeNames{
    "LSB", "USB", "AM", "CW", "RTTY", "FM", "FM-WIDE", "CW-REVERSE", "RTTY-REVERSE", "SYNC-AM"};
constexpr std::array<std::string_view, 3> kFilterNames{"WIDE", "MEDIUM", "NARROW"};

bool listed(std::span<const std::string_view> names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    return i;
}

// ^[0-9]+(\.[0-9]+)?$ without the cost of std::regex on every input.
bool isPlainDecimal(std::string_view text)
{
    std::size_t i = skipDigits(text, 0);
    if (i == 0) {
        return false;
    }
    if (i == text.size()) {
        return true;
    }
    if (text[i] != '.') {
        return false;
    }
    const std::size_t fraction = i + 1;
    i = skipDigits(text, fraction);
    return i > fraction && i == text.size();
}

// What the window would put in its displays for the frame the parser just completed.
void decodeAsWindow(const civ::FrameParser& parser)
{
    if (parser.parseMsgLength == 0) {
        return;
    }
    const std::span<const int> data(parser.parseMsg.data(),
                                    static_cast<std::size_t>(parser.parseMsgLength));
    for (const int byte : data) {
        FUZZ_CHECK(byte >= 0 && byte <= 0xFF);
    }
    switch (parser.parseCmd) {
    case civ::kCmdReadFrequency: {
        const std::string text = civ::formatKhz(civ::ParseFreq(data));
        if (!isPlainDecimal(text)) {
            std::fprintf(stderr, "frequency display text: \"%s\"\n", text.c_str());
        }
        FUZZ_CHECK(isPlainDecimal(text));
        break;
    }
    case civ::kCmdReadMode: {
        const int m = civ::ParseMode(data);
        if (const std::optional<std::string_view> name = civ::modeName(m & 255)) {
            FUZZ_CHECK(listed(kModeNames, *name));
        }
        if (const std::optional<std::string_view> name = civ::filterName(m / 256)) {
            FUZZ_CHECK(listed(kFilterNames, *name));
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int ourAddress = data[0];
    civ::FrameParser parser;
    for (const std::uint8_t byte : std::span(data + 1, size - 1)) {
        const civ::FrameParser::Event event = parser.ParseByte(byte);
        FUZZ_CHECK(parser.parseMsgLength >= 0);
        FUZZ_CHECK(static_cast<std::size_t>(parser.parseMsgLength) <= parser.parseMsg.size());
        switch (event) {
        case civ::FrameParser::Event::None:
            break;
        case civ::FrameParser::Event::Jam:
            FUZZ_CHECK(byte == civ::kJamCode);
            break;
        case civ::FrameParser::Event::FrameEnd:
            FUZZ_CHECK(byte == civ::kEndOfMessage && !parser.parseMsgOverflow);
            if (parser.parseToID == ourAddress) {
                decodeAsWindow(parser);
            }
            break;
        case civ::FrameParser::Event::OverlongFrameEnd:
            FUZZ_CHECK(byte == civ::kEndOfMessage && parser.parseMsgOverflow);
            break;
        }
    }
    return 0;
}
