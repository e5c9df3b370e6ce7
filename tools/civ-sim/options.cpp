// civ-sim's command line: one table of options, and the checks across them.
#include "options.h"

#include "option_values.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace civsim {

namespace {

struct Option {
    std::string_view name;
    bool takesValue;
    void (*apply)(std::string_view value, Options& options);
};

// A new option is one row here and a few lines of help.
constexpr std::array kOptions{
    // Line
    Option{"--device", true,
           [](std::string_view v, Options& o) { o.device = parsePath(v, "--device"); }},
    Option{"--link", true, [](std::string_view v, Options& o) { o.link = parsePath(v, "--link"); }},
    Option{"--baud", true, [](std::string_view v, Options& o) { o.baud = parseBaud(v); }},
    Option{"--rate", true, [](std::string_view v, Options& o) { o.rate = parseRate(v); }},
    Option{"--listen", true, [](std::string_view v, Options& o) { parseListen(v, o); }},
    Option{"--echo", true,
           [](std::string_view v, Options& o) {
               if (v != "on" && v != "off" && v != "garble") {
                   fail("--echo: expected on, off or garble");
               }
               o.echo = v != "off";
               o.garbleEcho = v == "garble";
           }},
    // Radios
    Option{"--radio", true,
           [](std::string_view v, Options& o) { o.radios.push_back(parseRadio(v)); }},
    Option{"--transceive", false, [](std::string_view, Options& o) { o.transceive = true; }},
    Option{"--dial-every", true,
           [](std::string_view v, Options& o) {
               o.dialEverySeconds = parseSeconds(v, "--dial-every");
           }},
    Option{"--range", true, [](std::string_view v, Options& o) { parseRange(v, o); }},
    Option{"--off", false, [](std::string_view, Options& o) { o.off = true; }},
    // Faults and load
    Option{
        "--jam-every", true,
        [](std::string_view v, Options& o) { o.jamEverySeconds = parseSeconds(v, "--jam-every"); }},
    Option{"--noise-every", true,
           [](std::string_view v, Options& o) {
               o.noiseEverySeconds = parseSeconds(v, "--noise-every");
           }},
    Option{"--reply-delay", true,
           [](std::string_view v, Options& o) {
               const std::uint64_t ms = parseUnsigned(v, "--reply-delay");
               if (ms > 60'000) {
                   fail("--reply-delay: at most 60000 ms");
               }
               o.replyDelayMs = static_cast<int>(ms);
           }},
    Option{
        "--lose-every", true,
        [](std::string_view v, Options& o) { o.faults.loseEvery = parseCount(v, "--lose-every"); }},
    Option{"--lose-random", true,
           [](std::string_view v, Options& o) {
               o.faults.loseChance = parseChance(v, "--lose-random");
           }},
    Option{
        "--cut-every", true,
        [](std::string_view v, Options& o) { o.faults.cutEvery = parseCount(v, "--cut-every"); }},
    Option{"--flip-echo-bit", false,
           [](std::string_view, Options& o) { o.faults.flipEchoBit = true; }},
    Option{"--net-delay", true, [](std::string_view v, Options& o) { parseNetDelay(v, o.faults); }},
    Option{"--seed", true,
           [](std::string_view v, Options& o) {
               const std::uint64_t seed = parseUnsigned(v, "--seed");
               if (seed > 0xFFFF'FFFF) {
                   fail("--seed: at most 4294967295");
               }
               o.faults.seed = static_cast<std::uint32_t>(seed);
           }},
    Option{"--collide", true,
           [](std::string_view v, Options& o) {
               if (v != "jam" && v != "merge") {
                   fail("--collide: expected jam or merge");
               }
               o.collide = v == "jam" ? Collision::Jam : Collision::Merge;
           }},
    Option{"--chatter-every", true,
           [](std::string_view v, Options& o) {
               o.chatterEverySeconds = parseSeconds(v, "--chatter-every");
           }},
    Option{"--flood", false, [](std::string_view, Options& o) { o.flood = true; }},
    Option{"--controller", true,
           [](std::string_view v, Options& o) { o.controller = parseAddress(v, "--controller"); }},
    // Other
    Option{"--log", false, [](std::string_view, Options& o) { o.log = true; }},
};

void check(const Options& options)
{
    const bool deviceGiven = !options.device.empty();
    const bool listenGiven = !options.listenHost.empty();
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
    if (options.faults.flipEchoBit && !options.echo) {
        fail("--flip-echo-bit: flips bits of the echo; not with --echo off");
    }
    if (options.faults.netDelayMaxMs > 0 && !listenGiven) {
        fail("--net-delay: delays the network listener; only with --listen");
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
            const auto option = std::ranges::find(kOptions, arg, &Option::name);
            if (option == kOptions.end()) {
                fail("unknown option '" + args[i] + "' (see --help)");
            }
            if (!option->takesValue && value) {
                fail(std::string(arg) + " takes no value");
            }
            if (option->takesValue && !value) {
                if (i + 1 >= args.size()) {
                    fail(std::string(arg) + ": missing value");
                }
                value = args[++i];
            }
            option->apply(value.value_or(std::string_view()), options);
        }
        check(options);
    } catch (const OptionError& e) {
        return {ParseResult::Action::Error, {}, e.what()};
    }

    if (options.rate != 0) {
        options.baud = options.rate;
    }
    if (!options.device.empty()) {
        options.line = LineKind::Device;
    }
    if (!options.listenHost.empty()) {
        options.line = LineKind::Tcp;
    }
    if (options.radios.empty()) {
        options.radios.push_back(RadioConfig{});
    }
    return result;
}

} // namespace civsim
