// Times of day to the microsecond, on the same scale as civ-sim's log.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace bench {

// civ-sim stamps its log with the local time of day to the millisecond (truncated); events
// seen here are put on the same scale, to the microsecond, so the two can be compared.
using WallTime = std::chrono::system_clock::time_point;

double msOfDay(WallTime t);
// "HH:MM:SS.mmm" at the start of text.
std::optional<double> parseMsOfDay(std::string_view text);
// later - earlier, for two times of day less than half a day apart (across midnight too).
double msBetween(double earlier, double later);

} // namespace bench
