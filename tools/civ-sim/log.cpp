// A log line stamped with the local time of day to the millisecond.
#include "log.h"

#include "frame.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace civsim {

std::string logLine(std::string_view direction, std::span<const std::uint8_t> bytes)
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);

    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(millis));
    std::string line = stamp;
    line += ' ';
    line += direction;
    line += ' ';
    line += toHex(bytes);
    return line;
}

} // namespace civsim
