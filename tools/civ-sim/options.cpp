#include "options.h"

#include "bcd.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace civsim {

namespace {

struct OptionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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

int parseBaud(std::string_view text)
{
    static constexpr std::array<int, 12> kRates{300,   600,   1200,  2400,   4800,   9600,
                                                19200, 38400, 57600, 115200, 230400, 460800};
    const std::uint64_t value = parseUnsigned(text, "--baud");
    if (std::find(kRates.begin(), kRates.end(), value) == kRates.end()) {
        fail("--baud: unsupported rate " + std::string(text) +
             " (use 300, 600, 1200 ... 115200, 230400, 460800)");
    }
    return static_cast<int>(value);
}

int parseRate(std::string_view text)
{
    // The controller's rate list, and the USB rate it does not offer.
    static constexpr std::array<int, 15> kRates{300,   600,   1200,  1800,  2400,
                                                3600,  4800,  7200,  9600,  14400,
                                                19200, 28800, 38400, 57600, 115200};
    const std::uint64_t value = parseUnsigned(text, "--rate");
    if (std::find(kRates.begin(), kRates.end(), value) == kRates.end()) {
        fail("--rate: unsupported rate " + std::string(text) +
             " (use 300, 600, 1200, 1800 ... 38400, 57600, 115200)");
    }
    return static_cast<int>(value);
}

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
        } else if (key == "readid") {
            if (value != "yes" && value != "no") {
                fail("--radio: readid must be yes or no");
            }
            radio.readId = value == "yes";
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

void applyBusFault(std::string_view name, std::string_view value, Options& options)
{
    if (name == "--collide") {
        if (value != "jam" && value != "merge") {
            fail("--collide: expected jam or merge");
        }
        options.collide = value == "jam" ? Collision::Jam : Collision::Merge;
    } else if (name == "--chatter-every") {
        options.chatterEverySeconds = parseSeconds(value, name);
    }
}

bool takesValue(std::string_view name)
{
    static constexpr std::array<std::string_view, 15> kWithValue{
        "--device",     "--baud",        "--listen",      "--radio",      "--echo",
        "--jam-every",  "--noise-every", "--reply-delay", "--controller", "--link",
        "--dial-every", "--range",       "--rate",        "--collide",    "--chatter-every"};
    return std::find(kWithValue.begin(), kWithValue.end(), name) != kWithValue.end();
}

void apply(std::string_view name, std::string_view value, Options& options)
{
    if (name == "--device") {
        if (value.empty()) {
            fail("--device: expected a path");
        }
        options.device = std::string(value);
    } else if (name == "--link") {
        if (value.empty()) {
            fail("--link: expected a path");
        }
        options.link = std::string(value);
    } else if (name == "--baud") {
        options.baud = parseBaud(value);
    } else if (name == "--rate") {
        options.rate = parseRate(value);
    } else if (name == "--listen") {
        parseListen(value, options);
    } else if (name == "--radio") {
        options.radios.push_back(parseRadio(value));
    } else if (name == "--echo") {
        if (value != "on" && value != "off" && value != "garble") {
            fail("--echo: expected on, off or garble");
        }
        options.echo = value != "off";
        options.garbleEcho = value == "garble";
    } else if (name == "--jam-every") {
        options.jamEverySeconds = parseSeconds(value, name);
    } else if (name == "--noise-every") {
        options.noiseEverySeconds = parseSeconds(value, name);
    } else if (name == "--dial-every") {
        options.dialEverySeconds = parseSeconds(value, name);
    } else if (name == "--range") {
        parseRange(value, options);
    } else if (name == "--reply-delay") {
        const std::uint64_t ms = parseUnsigned(value, name);
        if (ms > 60'000) {
            fail("--reply-delay: at most 60000 ms");
        }
        options.replyDelayMs = static_cast<int>(ms);
    } else if (name == "--controller") {
        options.controller = parseAddress(value, name);
    } else {
        applyBusFault(name, value, options);
    }
}

void check(const Options& options, bool deviceGiven, bool listenGiven)
{
    if (options.collide != Collision::None && options.radios.size() < 2) {
        fail("--collide: takes two radios or more (--radio twice)");
    }
    if (deviceGiven && listenGiven) {
        fail("--device and --listen cannot be used together");
    }
    if (options.rate != 0 && listenGiven) {
        fail("--rate: a TCP client's line rate cannot be seen from here; not with --listen");
    }
    if (!options.link.empty() && (deviceGiven || listenGiven)) {
        fail("--link names the pseudo-terminal: not with --device or --listen");
    }
    for (std::size_t i = 0; i < options.radios.size(); ++i) {
        for (std::size_t j = i + 1; j < options.radios.size(); ++j) {
            if (options.radios[i].address == options.radios[j].address) {
                fail("--radio: address " + std::to_string(options.radios[i].address) +
                     " given twice");
            }
        }
    }
}

} // namespace

ParseResult parseOptions(const std::vector<std::string>& args)
{
    ParseResult result;
    Options& options = result.options;
    bool deviceGiven = false;
    bool listenGiven = false;
    try {
        for (std::size_t i = 0; i < args.size(); ++i) {
            std::string_view arg = args[i];
            std::optional<std::string_view> value;
            if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }

            if (arg == "--help") {
                return {ParseResult::Action::Help, {}, {}};
            }
            if (arg == "--version") {
                return {ParseResult::Action::Version, {}, {}};
            }

            if (takesValue(arg)) {
                if (!value) {
                    if (i + 1 >= args.size()) {
                        fail(std::string(arg) + ": missing value");
                    }
                    value = args[++i];
                }
                apply(arg, *value, options);
                deviceGiven = deviceGiven || arg == "--device";
                listenGiven = listenGiven || arg == "--listen";
            } else if (arg == "--transceive" || arg == "--flood" || arg == "--log" ||
                       arg == "--off") {
                if (value) {
                    fail(std::string(arg) + " takes no value");
                }
                options.transceive = options.transceive || arg == "--transceive";
                options.off = options.off || arg == "--off";
                options.flood = options.flood || arg == "--flood";
                options.log = options.log || arg == "--log";
            } else {
                fail("unknown option '" + std::string(args[i]) + "' (see --help)");
            }
        }
        check(options, deviceGiven, listenGiven);
    } catch (const OptionError& e) {
        return {ParseResult::Action::Error, {}, e.what()};
    }

    if (options.rate != 0) {
        options.baud = options.rate;
    }
    if (deviceGiven) {
        options.line = LineKind::Device;
    }
    if (listenGiven) {
        options.line = LineKind::Tcp;
    }
    if (options.radios.empty()) {
        options.radios.push_back(RadioConfig{});
    }
    return result;
}

} // namespace civsim
