// Arbitrary typed lines through the bus monitor's hex entry. The first two bytes choose the
// Radio ID and Our ID fields, some of them outside the bus addresses; the rest is the line.
#include "fuzz_check.h"
#include "monitor/frame_description.h"
#include "monitor/hex_entry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

bool isReserved(std::uint8_t b)
{
    return b == civ::kJamCode || b == civ::kEndOfMessage || b == civ::kPreamble;
}

int address(std::uint8_t b)
{
    return b * 2 - 100;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int radio = address(data[0]);
    const int our = address(data[1]);
    const std::string_view line(reinterpret_cast<const char*>(data + 2), size - 2);
    const monitor::EntryResult result = monitor::parseEntry(line, radio, our);
    if (!result) {
        FUZZ_CHECK(result.frame.empty());
        return 0;
    }
    const civ::Frame& f = result.frame;
    FUZZ_CHECK(f.size() >= 6 && f.size() <= 50);
    FUZZ_CHECK(f[0] == civ::kPreamble && f[1] == civ::kPreamble && f.back() == civ::kEndOfMessage);
    FUZZ_CHECK(std::none_of(f.begin() + 2, f.end() - 1, isReserved));
    // The frame as the monitor shows it reads back as the same frame.
    const monitor::EntryResult again = monitor::parseEntry(monitor::hexBytes(f), -1, -1);
    FUZZ_CHECK(again && again.frame == f);
    return 0;
}
