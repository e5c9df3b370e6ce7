// The order the port pop-up lists names in: ttyS2 before ttyS10.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Runs of digits compare by their value, so ttyS2 comes before ttyS10 and ttyUSB0 before
// ttyUSB1; the rest compares character by character.
constexpr bool naturalLess(std::string_view a, std::string_view b)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (!isDigit(a[i]) || !isDigit(b[j])) {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
            continue;
        }
        std::size_t endA = i;
        std::size_t endB = j;
        while (endA < a.size() && isDigit(a[endA])) {
            ++endA;
        }
        while (endB < b.size() && isDigit(b[endB])) {
            ++endB;
        }
        // Leading zeros add no value; without them the longer run is the larger number.
        while (i + 1 < endA && a[i] == '0') {
            ++i;
        }
        while (j + 1 < endB && b[j] == '0') {
            ++j;
        }
        const std::string_view runA = a.substr(i, endA - i);
        const std::string_view runB = b.substr(j, endB - j);
        if (runA.size() != runB.size()) {
            return runA.size() < runB.size();
        }
        if (runA != runB) {
            return runA < runB;
        }
        i = endA;
        j = endB;
    }
    return a.size() - i < b.size() - j;
}

} // namespace platform
