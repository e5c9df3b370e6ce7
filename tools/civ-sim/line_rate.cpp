// Only the kernel's termios here: glibc's <termios.h> defines the same names differently.
#include "line_rate.h"

#include <asm/termbits.h>
#include <cstdint>
#include <sys/ioctl.h>

namespace civsim {

Bytes misheard(std::span<const std::uint8_t> bytes, int sentAt, int heardAt)
{
    // Time in units of 1 / (2 * sentAt * heardAt) s: a sent bit lasts 2 * heardAt units, a
    // received bit 2 * sentAt, so every sampling instant below is a whole number.
    const std::int64_t sentBit = 2 * std::int64_t{heardAt};
    const std::int64_t end = static_cast<std::int64_t>(bytes.size()) * 10 * sentBit;
    const auto level = [&](std::int64_t t) {
        if (t >= end) {
            return 1; // the idle line
        }
        const std::int64_t bit = t / sentBit;
        const std::int64_t position = bit % 10;
        if (position == 0 || position == 9) {
            return position == 9 ? 1 : 0; // start and stop bits
        }
        return (bytes[static_cast<std::size_t>(bit / 10)] >> (position - 1)) & 1;
    };

    Bytes out;
    std::int64_t t = 0;
    while (t < end) {
        // The start bit: the line low now, or at the next sent bit that is low.
        while (t < end && level(t) == 1) {
            t = (t / sentBit + 1) * sentBit;
        }
        if (t >= end) {
            break;
        }
        std::uint8_t byte = 0;
        for (int i = 0; i < 8; ++i) {
            byte = static_cast<std::uint8_t>(byte | level(t + (3 + 2 * i) * std::int64_t{sentAt})
                                                        << i);
        }
        out.push_back(byte);
        t += 19 * std::int64_t{sentAt}; // the middle of the stop bit, low or not
    }
    return out;
}

std::optional<int> terminalRate(int fd)
{
    termios2 settings{};
    if (fd < 0 || ::ioctl(fd, TCGETS2, &settings) != 0) {
        return std::nullopt;
    }
    return static_cast<int>(settings.c_ospeed);
}

} // namespace civsim
