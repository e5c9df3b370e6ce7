// The one table of modes and filters: CI-V's codes and every name the program gives them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace civ {

struct Mode {
    std::uint8_t code;         // on the wire, after 01, 04 and 06
    bool data;                 // with the data flag of 1A 06 on: Hamlib's packet modes
    std::string_view window;   // the main window's pop-up caption and display text; empty: none
    std::string_view words;    // the Bus Monitor's, as the CI-V reference names it
    std::string_view hamlib;   // Hamlib's name; empty when Hamlib has none
    unsigned hamlibBit;        // Hamlib's bit for it in a mode list
    std::array<int, 3> widths; // Hz of its filters 1 to 3 (wide, medium, narrow)
};

struct Filter {
    std::uint8_t code;
    std::string_view window;  // the main window's display text
    std::string_view caption; // the main window's pop-up caption
    std::string_view words;   // the Bus Monitor's
};

std::span<const Mode> modes();
std::span<const Filter> filters();

// A row of the main window's mode pop-up: its caption and the code it sends. A row without a
// filter sends the filter byte 00 whatever the filter pop-up shows.
struct ModeRow {
    std::string_view caption;
    std::uint8_t code;
    bool withFilter;
};
std::span<const ModeRow> modeRows();

// The main window's display texts; nothing for a code it leaves the display unchanged for.
std::optional<std::string_view> modeName(int code);
std::optional<std::string_view> filterName(int code);

// The Bus Monitor's words; a code without a name in hex ("mode 0x1F").
std::string modeWords(int code, bool data = false);
std::string filterWords(int code);

// Hamlib's names both ways.
const Mode* hamlibMode(int code, bool data = false);
const Mode* modeForHamlib(std::string_view name);

} // namespace civ
