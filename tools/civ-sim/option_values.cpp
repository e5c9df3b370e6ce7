// Reading the values of civ-sim's options.
#include "option_values.h"

#include "bcd.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <span>
#include <string>
#include <utility>

namespace civsim {

namespace {

std::uint8_t parseMode(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, std::uint8_t>, 10> kNames{{
        {"LSB", 0x00},
        {"USB", 0x01},
        {"AM", 0x02},
        {"CW", 0x03},
        {"RTTY", 0x04},
        {"FM", 0x05},
        {"WFM", 0x06},
        {"CW-R", 0x07},
        {"RTTY-R", 0x08},
        {"S-AM", 0x0B},
    }};
    for (const auto& [name, code] : kNames) {
        if (std::equal(name.begin(), name.end(), text.begin(), text.end(), [](char a, char b) {
                return a == std::toupper(static_cast<unsigned char>(b));
            })) {
            return code;
        }
    }
    const std::uint64_t value = parseUnsigned(text, "--radio mode");
    if (value > 0xFF || !isKnownMode(static_cast<std::uint8_t>(value))) {
        fail("--radio: unknown mode '" + std::string(text) + "'");
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace

[[noreturn]] void fail(const std::string& message)
{
    throw OptionError(message);
}

std::uint64_t parseUnsigned(std::string_view text, std::string_view what)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end) {
        fail(std::string(what) + ": not a number: '" + std::string(text) + "'");
    }
    return value;
}

std::uint8_t parseAddress(std::string_view text, std::string_view what)
{
    const std::uint64_t value = parseUnsigned(text, what);
    if (value > 0xFF) {
        fail(std::string(what) + ": address must be 0..255");
    }
    if (value == kBroadcast || value >= kJam) {
        fail(std::string(what) + ": address " + std::string(text) +
             " is reserved (00 broadcast, FC jam, FD end, FE preamble)");
    }
    return static_cast<std::uint8_t>(value);
}

double parseSeconds(std::string_view text, std::string_view what)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        fail(std::string(what) + ": expected a number of seconds, e.g. 2.5");
    }
    if (value < 0.001 || value > 86400) {
        fail(std::string(what) + ": must be between 0.001 and 86400 seconds");
    }
    return value;
}

int parseCount(std::string_view text, std::string_view what)
{
    const std::uint64_t value = parseUnsigned(text, what);
    if (value < 1 || value > 1'000'000) {
        fail(std::string(what) + ": must be from 1 to 1000000");
    }
    return static_cast<int>(value);
}

double parseChance(std::string_view text, std::string_view what)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !(value > 0 && value <= 1)) {
        fail(std::string(what) + ": expected a chance above 0 and at most 1, e.g. 0.2");
    }
    return value;
}

std::string parsePath(std::string_view text, std::string_view what)
{
    if (text.empty()) {
        fail(std::string(what) + ": expected a path");
    }
    return std::string(text);
}

namespace {

// A rate of the given list, or the option's failure naming them.
int rateOf(std::string_view text, const std::string& option, std::span<const int> rates,
           const char* listed)
{
    const std::uint64_t value = parseUnsigned(text, option);
    if (std::find(rates.begin(), rates.end(), value) == rates.end()) {
        fail(option + ": unsupported rate " + std::string(text) + " (use " + listed + ")");
    }
    return static_cast<int>(value);
}

} // namespace

int parseBaud(std::string_view text)
{
    static constexpr std::array kRates{300,   600,   1200,  2400,   4800,   9600,
                                       19200, 38400, 57600, 115200, 230400, 460800};
    return rateOf(text, "--baud", kRates, "300, 600, 1200 ... 115200, 230400, 460800");
}

int parseRate(std::string_view text)
{
    // The controller's rate list, and the USB rate it does not offer.
    static constexpr std::array kRates{300,  600,   1200,  1800,  2400,  3600,  4800,  7200,
                                       9600, 14400, 19200, 28800, 38400, 57600, 115200};
    return rateOf(text, "--rate", kRates, "300, 600, 1200, 1800 ... 38400, 57600, 115200");
}

RadioConfig parseRadio(std::string_view arg)
{
    RadioConfig radio;
    const std::size_t comma = arg.find(',');
    radio.address = parseAddress(arg.substr(0, comma), "--radio");

    std::string_view rest = comma == std::string_view::npos ? "" : arg.substr(comma + 1);
    while (!rest.empty()) {
        const std::size_t next = rest.find(',');
        const std::string_view item = rest.substr(0, next);
        rest = next == std::string_view::npos ? "" : rest.substr(next + 1);

        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos) {
            fail("--radio: expected key=value, got '" + std::string(item) + "'");
        }
        const std::string_view key = item.substr(0, eq);
        const std::string_view value = item.substr(eq + 1);
        if (key == "freq") {
            radio.frequency = parseUnsigned(value, "--radio freq");
        } else if (key == "mode") {
            radio.mode = parseMode(value);
        } else if (key == "filter") {
            const std::uint64_t filter = parseUnsigned(value, "--radio filter");
            if (filter > 0xFF || !isKnownFilter(static_cast<std::uint8_t>(filter))) {
                fail("--radio: filter must be 1, 2 or 3");
            }
            radio.filter = static_cast<std::uint8_t>(filter);
        } else if (key == "bytes") {
            const std::uint64_t bytes = parseUnsigned(value, "--radio bytes");
            if (bytes != 4 && bytes != 5) {
                fail("--radio: bytes must be 4 or 5");
            }
            radio.frequencyBytes = static_cast<int>(bytes);
        } else if (key == "readid" || key == "vfo" || key == "split" || key == "data" ||
                   key == "vfocmd") {
            if (value != "yes" && value != "no") {
                fail("--radio: " + std::string(key) + " must be yes or no");
            }
            bool RadioConfig::*const flag = key == "readid"  ? &RadioConfig::readId
                                            : key == "vfo"   ? &RadioConfig::vfo
                                            : key == "split" ? &RadioConfig::split
                                            : key == "data"  ? &RadioConfig::data
                                                             : &RadioConfig::vfoCommands;
            radio.*flag = value == "yes";
        } else {
            fail("--radio: unknown key '" + std::string(key) + "'");
        }
    }
    if (radio.frequency > maxFrequency(radio.frequencyBytes)) {
        fail("--radio: frequency " + std::to_string(radio.frequency) + " Hz does not fit in " +
             std::to_string(radio.frequencyBytes) + " bytes");
    }
    return radio;
}

void parseRange(std::string_view text, Options& options)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        fail("--range: expected LOW-HIGH in Hz, e.g. 1800000-29700000");
    }
    options.lowestHz = parseUnsigned(text.substr(0, dash), "--range");
    options.highestHz = parseUnsigned(text.substr(dash + 1), "--range");
    if (options.lowestHz > options.highestHz) {
        fail("--range: LOW is above HIGH");
    }
}

void parseListen(std::string_view text, Options& options)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        fail("--listen: expected HOST:PORT, e.g. 127.0.0.1:4532");
    }
    std::string_view host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    const std::uint64_t port = parseUnsigned(text.substr(colon + 1), "--listen port");
    if (port > 65535) {
        fail("--listen: port must be 0..65535");
    }
    options.listenHost = std::string(host);
    options.listenPort = static_cast<std::uint16_t>(port);
}

void parseNetDelay(std::string_view text, LinkFaults& faults)
{
    constexpr std::uint64_t kMaxMs = 60'000;
    const std::size_t dash = text.find('-');
    const std::uint64_t low = parseUnsigned(text.substr(0, dash), "--net-delay");
    const std::uint64_t high =
        dash == std::string_view::npos ? low : parseUnsigned(text.substr(dash + 1), "--net-delay");
    if (low > high || high > kMaxMs) {
        fail("--net-delay: expected MS or LOW-HIGH, at most 60000 ms, e.g. 180-200");
    }
    faults.netDelayMs = static_cast<int>(low);
    faults.netDelayMaxMs = static_cast<int>(high);
}

} // namespace civsim
