// What the program knows of the radio at Radio ID, from poll replies, reports and confirmed sets.
#pragma once

#include "line/link_account.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace share {

// CI-V commands the server reads and sets beyond the window's own.
inline constexpr std::uint8_t kCmdTransmit = civ::kCmdTransmit;
inline constexpr std::uint8_t kSubPtt = civ::kSubPtt;

// A value and when it was last heard.
template <class T> struct Known {
    T value;
    line::Millis at;
};

struct RadioMode {
    int code;
    int filter; // 0 when the radio did not say
};

class RadioState {
public:
    using Mode = RadioMode;

    // radio and our are the window's addresses at the time; now is the caller's clock.
    void heard(const line::FrameEvent& event, int radio, int our, line::Millis now);

    const std::optional<Known<std::int64_t>>& frequency() const { return frequency_; }
    const std::optional<Known<Mode>>& mode() const { return mode_; }
    const std::optional<Known<bool>>& ptt() const { return ptt_; }
    // Data bytes of the radio's frequency frames: 4 for old HF radios, else 5.
    int frequencyBytes() const { return frequencyBytes_; }
    // A radio that refuses to say whether it transmits is taken to receive unless set.
    void assumeReceiving(line::Millis at);
    // Forgets it all: another radio or port.
    void clear();

private:
    // What a set asked for, kept until the radio answers it.
    struct Set {
        int command = -1;
        int subCommand = -1;
        std::vector<std::uint8_t> data;
    };

    void apply(int command, int subCommand, std::span<const std::uint8_t> data, line::Millis at);

    std::optional<Known<std::int64_t>> frequency_;
    std::optional<Known<Mode>> mode_;
    std::optional<Known<bool>> ptt_;
    int frequencyBytes_ = 5;
    // Sets that left the port, by id, until the radio answers them.
    std::map<std::uint64_t, Set> sets_;
};

// The command byte of a frame, -1 when it has none.
int commandOf(const line::FrameEvent& event);

} // namespace share
