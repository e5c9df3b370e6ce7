#pragma once

#include "monitor/frame_assembler.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace monitor {

enum class Direction : std::uint8_t {
    Sent,
    Received,
    Echo, // our own frame heard back on a one-wire bus
};

struct Stamp {
    std::chrono::steady_clock::time_point steady; // for round trips
    std::chrono::system_clock::time_point wall;   // for display
};

// One row, as handed out; the log itself keeps rows much smaller.
struct Entry {
    Stamp at;
    Direction direction = Direction::Received;
    Kind kind = Kind::Frame;
    std::vector<std::uint8_t> bytes; // an overlong frame keeps only its head
    std::size_t wireLength = 0;
    std::optional<std::chrono::microseconds> roundTrip; // for a reply: since its request
};

// Everything on the line in both directions, as rows: frames, jam codes, stray bytes. Keeps the
// newest rows up to its capacity. The caller stamps each call, so the log reads no clock.
class FrameLog {
public:
    static constexpr std::size_t kCapacity = 100000;

    explicit FrameLog(std::size_t capacity = kCapacity)
        : capacity_(capacity)
    {}

    void received(std::span<const std::uint8_t> bytes, const Stamp& at);
    void sent(std::span<const std::uint8_t> bytes, const Stamp& at);
    // Ends runs of bytes outside frames in both directions.
    void closeRuns(const Stamp& at);
    void clear();

    // Rows are numbered in order from 0 for the life of the log; ids below firstId() have been
    // dropped or cleared.
    std::uint64_t firstId() const { return firstId_; }
    std::uint64_t endId() const { return firstId_ + rows_.size(); }
    // Requires firstId() <= id < endId().
    Entry entry(std::uint64_t id) const;

private:
    struct Row {
        std::chrono::steady_clock::time_point steady;
        std::chrono::system_clock::time_point wall;
        std::uint64_t byteStart = 0;
        std::uint32_t wireLength = 0;
        std::int32_t roundTripUs = -1;
        std::uint16_t stored = 0;
        Direction direction = Direction::Received;
        Kind kind = Kind::Frame;
    };

    // A request we sent that no reply has answered yet.
    struct Request {
        std::uint8_t radio = 0;
        std::uint8_t controller = 0;
        std::uint8_t key = 0;
        std::chrono::steady_clock::time_point at;
    };

    void add(Direction direction, const FrameAssembler::Piece& piece, const Stamp& at);
    bool takeEcho(std::span<const std::uint8_t> frame);
    void noteRequest(std::span<const std::uint8_t> frame, const Stamp& at);
    std::optional<std::chrono::microseconds> answer(std::span<const std::uint8_t> frame,
                                                    const Stamp& at);
    void dropOldest();

    std::size_t capacity_;
    FrameAssembler receiving_;
    FrameAssembler sending_;
    std::deque<Row> rows_;
    std::deque<std::uint8_t> bytes_;
    std::uint64_t bytesBase_ = 0;
    std::uint64_t firstId_ = 0;
    std::deque<std::vector<std::uint8_t>> unechoed_;
    std::vector<Request> requests_;
};

} // namespace monitor
