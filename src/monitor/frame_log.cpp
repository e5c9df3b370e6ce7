#include "monitor/frame_log.h"

#include "civ/frame.h"

#include <algorithm>
#include <limits>

namespace monitor {

namespace {

// Sent frames remembered for their echo, and requests awaiting a reply. On a bus that hands
// nothing back these would otherwise pile up.
constexpr std::size_t kMaxUnechoed = 32;
constexpr std::size_t kMaxRequests = 64;

constexpr std::uint8_t kReadMeter = 0x15;
using civ::kBroadcast;
using civ::kCmdReadId;
using civ::kNg;
using civ::kOk;
// Requests answered by OK or NG share one key.
constexpr std::uint8_t kSetKey = kOk;

struct Fields {
    std::uint8_t to;
    std::uint8_t from;
    std::uint8_t command;
    std::span<const std::uint8_t> data;
};

Fields fields(std::span<const std::uint8_t> frame)
{
    return {frame[2], frame[3], frame[4], frame.subspan(5, frame.size() - 6)};
}

// What a radio acknowledges with OK or NG: all but the reports, the reads and read ID.
bool isSet(const Fields& f)
{
    return f.to != kBroadcast && f.command > civ::kCmdReadMode && f.command != kReadMeter &&
           f.command != kCmdReadId;
}

bool isReadId(const Fields& f)
{
    return f.command == kCmdReadId && !f.data.empty() && f.data[0] == 0x00;
}

} // namespace

void FrameLog::received(std::span<const std::uint8_t> bytes, const Stamp& at)
{
    for (const std::uint8_t b : bytes) {
        for (const FrameAssembler::Piece& piece : receiving_.push(b)) {
            add(Direction::Received, piece, at);
        }
    }
}

void FrameLog::sent(std::span<const std::uint8_t> bytes, const Stamp& at)
{
    for (const std::uint8_t b : bytes) {
        for (const FrameAssembler::Piece& piece : sending_.push(b)) {
            add(Direction::Sent, piece, at);
        }
    }
}

void FrameLog::closeRuns(const Stamp& at)
{
    for (const FrameAssembler::Piece& piece : sending_.closeRun()) {
        add(Direction::Sent, piece, at);
    }
    for (const FrameAssembler::Piece& piece : receiving_.closeRun()) {
        add(Direction::Received, piece, at);
    }
}

void FrameLog::clear()
{
    firstId_ = endId();
    rows_.clear();
    bytesBase_ += bytes_.size();
    bytes_.clear();
}

Entry FrameLog::entry(std::uint64_t id) const
{
    const Row& row = rows_[static_cast<std::size_t>(id - firstId_)];
    Entry e;
    e.at = {row.steady, row.wall};
    e.direction = row.direction;
    e.kind = row.kind;
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(row.byteStart - bytesBase_);
    e.bytes.assign(begin, begin + row.stored);
    e.wireLength = row.wireLength;
    if (row.roundTripUs >= 0) {
        e.roundTrip = std::chrono::microseconds(row.roundTripUs);
    }
    return e;
}

void FrameLog::add(Direction direction, const FrameAssembler::Piece& piece, const Stamp& at)
{
    Row row;
    row.steady = at.steady;
    row.wall = at.wall;
    row.byteStart = bytesBase_ + bytes_.size();
    row.wireLength = static_cast<std::uint32_t>(
        std::min<std::size_t>(piece.wireLength, std::numeric_limits<std::uint32_t>::max()));
    row.stored = static_cast<std::uint16_t>(piece.bytes.size());
    row.kind = piece.kind;
    row.direction = direction;
    if (piece.kind == Kind::Frame) {
        if (direction == Direction::Sent) {
            unechoed_.push_back(piece.bytes);
            if (unechoed_.size() > kMaxUnechoed) {
                unechoed_.pop_front();
            }
            noteRequest(piece.bytes, at);
        } else if (takeEcho(piece.bytes)) {
            row.direction = Direction::Echo;
        } else if (const auto roundTrip = answer(piece.bytes, at)) {
            row.roundTripUs = static_cast<std::int32_t>(std::clamp<std::int64_t>(
                roundTrip->count(), 0, std::numeric_limits<std::int32_t>::max()));
        }
    }
    bytes_.insert(bytes_.end(), piece.bytes.begin(), piece.bytes.end());
    rows_.push_back(row);
    if (rows_.size() > capacity_) {
        dropOldest();
    }
}

bool FrameLog::takeEcho(std::span<const std::uint8_t> frame)
{
    const auto same = std::find_if(unechoed_.begin(), unechoed_.end(), [frame](const auto& sent) {
        return std::equal(sent.begin(), sent.end(), frame.begin(), frame.end());
    });
    if (same == unechoed_.end()) {
        return false;
    }
    unechoed_.erase(same);
    return true;
}

void FrameLog::noteRequest(std::span<const std::uint8_t> frame, const Stamp& at)
{
    const Fields f = fields(frame);
    std::uint8_t key = 0;
    if ((f.command == civ::kCmdReadFrequency || f.command == civ::kCmdReadMode) && f.data.empty()) {
        key = f.command;
    } else if (isReadId(f)) {
        key = kCmdReadId;
    } else if (isSet(f)) {
        key = kSetKey;
    } else {
        return;
    }
    const Request request{f.to, f.from, key, at.steady};
    const auto same = std::find_if(requests_.begin(), requests_.end(), [&](const Request& r) {
        return r.radio == request.radio && r.controller == request.controller &&
               r.key == request.key;
    });
    if (same != requests_.end()) {
        *same = request;
        return;
    }
    requests_.push_back(request);
    if (requests_.size() > kMaxRequests) {
        requests_.erase(requests_.begin());
    }
}

std::optional<std::chrono::microseconds> FrameLog::answer(std::span<const std::uint8_t> frame,
                                                          const Stamp& at)
{
    const Fields f = fields(frame);
    std::uint8_t key = 0;
    if ((f.command == civ::kCmdReadFrequency || f.command == civ::kCmdReadMode) &&
        !f.data.empty()) {
        key = f.command;
    } else if (isReadId(f) && f.data.size() == 2) {
        key = kCmdReadId;
    } else if ((f.command == kOk || f.command == kNg) && f.data.empty()) {
        key = kSetKey;
    } else {
        return std::nullopt;
    }
    auto find = [&](std::uint8_t radio) {
        return std::find_if(requests_.begin(), requests_.end(), [&](const Request& r) {
            return r.radio == radio && r.controller == f.to && r.key == key;
        });
    };
    auto request = find(f.from);
    if (request == requests_.end() && key == kCmdReadId) {
        request = find(kBroadcast);
    }
    if (request == requests_.end()) {
        return std::nullopt;
    }
    const auto roundTrip =
        std::chrono::duration_cast<std::chrono::microseconds>(at.steady - request->at);
    requests_.erase(request);
    return roundTrip;
}

void FrameLog::dropOldest()
{
    const Row& oldest = rows_.front();
    const std::uint64_t end = oldest.byteStart + oldest.stored;
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(end - bytesBase_));
    bytesBase_ = end;
    rows_.pop_front();
    ++firstId_;
}

} // namespace monitor
