// What the program knows of the radio at Radio ID, from poll replies, reports and confirmed sets.
#pragma once

#include "line/link_account.h"

#include <array>
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

// What not every Icom radio has: VFO select (07), split (0F), data mode (1A 06), and the
// frequency and mode of the unselected VFO (25, 26).
enum class Feature { Vfo, Split, Data, VfoCommands };

class RadioState {
public:
    using Mode = RadioMode;
    // A value the radio has not confirmed for this long is not answered from.
    static constexpr line::Millis kTrustMs = 1500;

    struct Vfo {
        std::optional<Known<std::int64_t>> frequency;
        std::optional<Known<Mode>> mode;
        std::optional<Known<bool>> data;
    };

    // radio and our are the window's addresses at the time; now is the caller's clock.
    void heard(const line::FrameEvent& event, int radio, int our, line::Millis now);

    const std::optional<Known<std::int64_t>>& frequency() const { return selected().frequency; }
    const std::optional<Known<Mode>>& mode() const { return selected().mode; }
    const std::optional<Known<bool>>& data() const { return selected().data; }
    const Vfo& selected() const { return vfos_[vfoB_ ? 1 : 0]; }
    const Vfo& unselected() const { return vfos_[vfoB_ ? 0 : 1]; }
    // The program's belief: VFO A until a select the radio confirmed.
    bool onVfoB() const { return vfoB_; }
    // The VFO split transmits on: the one not selected when split went on, which stays so while
    // a client selects it for a moment, as Hamlib does to read it.
    bool txOnB() const { return txVfoB_.value_or(!vfoB_); }
    const Vfo& tx() const { return vfos_[txOnB() ? 1 : 0]; }
    bool txSelected() const { return txOnB() == vfoB_; }
    const std::optional<Known<bool>>& split() const { return split_; }
    const std::optional<Known<bool>>& ptt() const { return ptt_; }
    // Data bytes of the radio's frequency frames: 4 for old HF radios, else 5.
    int frequencyBytes() const { return frequencyBytes_; }

    // The radio refused (NG) a command of the feature it has never taken.
    void refuse(Feature feature);
    bool refused(Feature feature) const;

    // A radio that refuses to say whether it transmits is taken to receive unless set.
    void assumeReceiving(line::Millis at);
    // Forgets what the radio has not confirmed within kTrustMs: a silent radio is not answered for.
    void expire(line::Millis now);
    // Forgets it all: another radio or port.
    void clear();

private:
    enum class Support { Unknown, Yes, No };

    // What a set asked for, kept until the radio answers it.
    struct Set {
        int command = -1;
        int subCommand = -1;
        std::vector<std::uint8_t> data;
    };

    void apply(int command, int subCommand, std::span<const std::uint8_t> data, line::Millis at);
    void frequencyOf(Vfo& vfo, std::span<const std::uint8_t> data, line::Millis at);
    void support(Feature feature);

    std::array<Vfo, 2> vfos_;
    bool vfoB_ = false;
    std::optional<bool> txVfoB_;
    std::optional<Known<bool>> split_;
    std::optional<Known<bool>> ptt_;
    int frequencyBytes_ = 5;
    std::array<Support, 4> support_{};
    // Sets that left the port, by id, until the radio answers them.
    std::map<std::uint64_t, Set> sets_;
};

// The command byte of a frame, -1 when it has none.
int commandOf(const line::FrameEvent& event);

} // namespace share
