// The simulator's log line: the time of day, the direction and the bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace civsim {

// "12:00:01.234 rx FE FE 08 EA 03 FD" in local time.
std::string logLine(std::string_view direction, std::span<const std::uint8_t> bytes);

} // namespace civsim
