// Reading the values of civ-sim's options; each refusal throws OptionError with its reason.
#pragma once

#include "options.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace civsim {

struct OptionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& message);

// Decimal, or hex after 0x.
std::uint64_t parseUnsigned(std::string_view text, std::string_view what);
// A bus address a station may have.
std::uint8_t parseAddress(std::string_view text, std::string_view what);
double parseSeconds(std::string_view text, std::string_view what);
// From 1 to a million.
int parseCount(std::string_view text, std::string_view what);
// Above 0, at most 1.
double parseChance(std::string_view text, std::string_view what);
std::string parsePath(std::string_view text, std::string_view what);
int parseBaud(std::string_view text);
int parseRate(std::string_view text);
RadioConfig parseRadio(std::string_view arg);
void parseRange(std::string_view text, Options& options);
void parseListen(std::string_view text, Options& options);
void parseNetDelay(std::string_view text, LinkFaults& faults);

} // namespace civsim
