// The mode and filter tables, and their lookups by each reader.
#include "civ/modes.h"

#include "civ/reply_decoder.h"

#include <algorithm>

namespace civ {

namespace {

constexpr std::array<int, 3> kSsbWidths{3000, 2400, 1800};
constexpr std::array<int, 3> kAmWidths{9000, 6000, 3000};
constexpr std::array<int, 3> kCwWidths{1200, 500, 250};
constexpr std::array<int, 3> kRttyWidths{2400, 500, 250};
constexpr std::array<int, 3> kFmWidths{15000, 10000, 7000};

// Lookups take the first row that fits, which decides between rows sharing a code or a name.
constexpr std::array kModes{
    Mode{0x00, false, "LSB", "LSB", "LSB", 0x8, kSsbWidths},
    Mode{0x01, false, "USB", "USB", "USB", 0x4, kSsbWidths},
    Mode{0x02, false, "AM", "AM", "AM", 0x1, kAmWidths},
    Mode{0x03, false, "CW", "CW", "CW", 0x2, kCwWidths},
    Mode{0x04, false, "RTTY", "RTTY", "RTTY", 0x10, kRttyWidths},
    Mode{0x05, false, "FM", "FM", "FM", 0x20, kFmWidths},
    Mode{0x06, false, "FM-WIDE", "wide FM", "WFM", 0x40, {230000, 230000, 230000}},
    Mode{0x07, false, "CW-REVERSE", "CW reverse", "CWR", 0x80, kCwWidths},
    Mode{0x08, false, "RTTY-REVERSE", "RTTY reverse", "RTTYR", 0x100, kRttyWidths},
    // Synchronous AM is 11 on the wire; Hamlib's AMS sets it. The main window leaves its
    // display unchanged for it.
    Mode{0x11, false, "", "synchronous AM", "AMS", 0x200, kAmWidths},
    // The main window's SYNC-AM goes out as 0B and 0B is shown as SYNC-AM; the others call it
    // by the same name.
    Mode{0x0B, false, "SYNC-AM", "SYNC-AM", "AMS", 0x200, kAmWidths},
    Mode{0x17, false, "", "DV", "", 0, {}},
    Mode{0x00, true, "", "LSB data", "PKTLSB", 0x400, kSsbWidths},
    Mode{0x01, true, "", "USB data", "PKTUSB", 0x800, kSsbWidths},
    Mode{0x02, true, "", "AM data", "PKTAM", 0x400000, kAmWidths},
    Mode{0x05, true, "", "FM data", "PKTFM", 0x1000, kFmWidths},
};

constexpr std::array kFilters{
    Filter{0x01, "WIDE", "Wide", "wide"},
    Filter{0x02, "MEDIUM", "Medium", "medium"},
    Filter{0x03, "NARROW", "Narrow", "narrow"},
};

constexpr std::size_t kShownModes = static_cast<std::size_t>(
    std::ranges::count_if(kModes, [](const Mode& m) { return !m.window.empty(); }));

// The pop-up lists the modes the window shows, in the table's order, then an SSB row that
// sends FM's code without a filter.
constexpr auto kModeRows = [] {
    std::array<ModeRow, kShownModes + 1> rows{};
    std::size_t n = 0;
    for (const Mode& m : kModes) {
        if (!m.window.empty()) {
            rows[n++] = {m.window, m.code, true};
        }
    }
    rows[n] = {"SSB", 0x05, false};
    return rows;
}();

template <class Fits> const Mode* find(Fits fits)
{
    const auto found = std::ranges::find_if(kModes, fits);
    return found == kModes.end() ? nullptr : &*found;
}

const Filter* findFilter(int code)
{
    const auto found = std::ranges::find(kFilters, code, &Filter::code);
    return found == kFilters.end() ? nullptr : &*found;
}

} // namespace

std::span<const Mode> modes()
{
    return kModes;
}

std::span<const Filter> filters()
{
    return kFilters;
}

std::span<const ModeRow> modeRows()
{
    return kModeRows;
}

std::optional<std::string_view> modeName(int code)
{
    const Mode* const mode =
        find([code](const Mode& m) { return m.code == code && !m.data && !m.window.empty(); });
    return mode ? std::optional(mode->window) : std::nullopt;
}

std::optional<std::string_view> filterName(int code)
{
    const Filter* const filter = findFilter(code);
    return filter ? std::optional(filter->window) : std::nullopt;
}

std::string modeWords(int code, bool data)
{
    if (const Mode* const mode =
            find([code, data](const Mode& m) { return m.code == code && m.data == data; })) {
        return std::string(mode->words);
    }
    return data ? modeWords(code) + " data" : "mode 0x" + hexByte(code);
}

std::string filterWords(int code)
{
    const Filter* const filter = findFilter(code);
    return filter ? std::string(filter->words) : "filter 0x" + hexByte(code);
}

const Mode* hamlibMode(int code, bool data)
{
    return find([code, data](const Mode& m) {
        return m.code == code && m.data == data && !m.hamlib.empty();
    });
}

const Mode* modeForHamlib(std::string_view name)
{
    return name.empty() ? nullptr : find([name](const Mode& m) { return m.hamlib == name; });
}

} // namespace civ
