#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace radio {

// The last set-frequency or set-mode frame released to each address: enough to say what a
// radio's NG refused, as commands are fire-and-forget.
class SetCommandLog {
public:
    // One release to the bus. Only a whole frame counts; a piece of a longer one is not a command.
    void released(std::span<const std::uint8_t> bytes);

    // "Radio 8 refused frequency 145500 kHz (NG)", "Radio 8 refused mode USB / WIDE (NG)", or
    // "Radio 8 refused a command (NG)" when nothing was set there.
    std::string refusalText(int address) const;

private:
    struct SetCommand {
        std::uint8_t command = 0;
        std::vector<int> data;
    };

    std::string describe(int address) const;

    std::array<std::optional<SetCommand>, 256> last_;
};

} // namespace radio
