// The Bus Monitor's log of the line, and the rows it hands out.
#pragma once

#include "line/link_account.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace monitor {

// One row, as handed out; the log itself keeps rows much smaller.
struct Entry {
    line::Millis wall = 0; // ms since the epoch, for display
    line::Direction direction = line::Direction::Received;
    line::Kind kind = line::Kind::Frame;
    bool clash = false;
    bool garbled = false;            // an echo with some bits changed
    std::vector<std::uint8_t> bytes; // an overlong frame keeps only its head
    civ::FrameView view;             // as the account read it
    std::size_t wireLength = 0;
    std::optional<line::Millis> roundTrip;
    // Whose frame it is, or whose request it answers; none for other stations' frames.
    std::optional<line::Origin> client;
};

// The account's events as rows, the newest up to its capacity. The account pairs, echoes and
// cuts; the log only stores compactly and hands rows back.
class FrameLog {
public:
    static constexpr std::size_t kCapacity = 100000;

    explicit FrameLog(std::size_t capacity = kCapacity)
        : capacity_(capacity)
    {}

    // Wall time minus the account's clock, taken once, so rows show the time of day.
    void setWallOffset(line::Millis offset) { wallOffset_ = offset; }
    void add(const line::FrameEvent& event);
    void clear();

    // Rows are numbered in order from 0 for the life of the log; ids below firstId() have been
    // dropped or cleared.
    std::uint64_t firstId() const { return firstId_; }
    std::uint64_t endId() const { return firstId_ + rows_.size(); }
    // Requires firstId() <= id < endId().
    Entry entry(std::uint64_t id) const;
    // Every client a row has named, in the order first seen.
    std::span<const line::Origin> clients() const { return clients_; }

private:
    struct Row {
        line::Millis at = 0;
        std::uint64_t byteStart = 0;
        civ::FrameView view;
        std::uint32_t wireLength = 0;
        std::int32_t roundTrip = -1;
        std::uint16_t stored = 0;
        std::uint16_t client = 0; // 1 + index into clients_; 0 for none
        line::Direction direction = line::Direction::Received;
        line::Kind kind = line::Kind::Frame;
        bool clash = false;
        bool garbled = false;
    };

    std::uint16_t clientIndex(const line::FrameEvent& event);
    void dropOldest();

    std::size_t capacity_;
    line::Millis wallOffset_ = 0;
    std::deque<Row> rows_;
    std::deque<std::uint8_t> bytes_;
    std::uint64_t bytesBase_ = 0;
    std::uint64_t firstId_ = 0;
    std::vector<line::Origin> clients_;
};

} // namespace monitor
