// Times of day: taken from the clock, read from civ-sim's stamps, and subtracted.
#include "wall_clock.h"

#include <cmath>
#include <ctime>

namespace bench {

namespace {
constexpr double kDayMs = 24.0 * 3600 * 1000;
}

double msOfDay(WallTime t)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(t);
    std::tm local{};
    localtime_r(&seconds, &local);
    const long long micros = duration_cast<microseconds>(t.time_since_epoch()).count() % 1000000;
    return ((local.tm_hour * 60.0 + local.tm_min) * 60 + local.tm_sec) * 1000 +
           static_cast<double>(micros) / 1000;
}

std::optional<double> parseMsOfDay(std::string_view text)
{
    constexpr std::string_view kShape = "00:00:00.000";
    if (text.size() < kShape.size()) {
        return std::nullopt;
    }
    long long fields[4] = {};
    int field = 0;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const char c = text[i];
        if (kShape[i] == '0') {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            fields[field] = fields[field] * 10 + (c - '0');
        } else if (c != kShape[i]) {
            return std::nullopt;
        } else {
            ++field;
        }
    }
    return static_cast<double>(((fields[0] * 60 + fields[1]) * 60 + fields[2]) * 1000 + fields[3]);
}

double msBetween(double earlier, double later)
{
    double d = std::fmod(later - earlier, kDayMs);
    if (d < 0) {
        d += kDayMs;
    }
    return d > kDayMs / 2 ? d - kDayMs : d;
}

} // namespace bench
