// The log's rows stored compactly, handed back whole, and dropped when the log is full.
#include "monitor/frame_log.h"

#include <algorithm>
#include <limits>

namespace monitor {

namespace {

std::int32_t clamped(line::Millis value)
{
    return static_cast<std::int32_t>(
        std::clamp<line::Millis>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void FrameLog::add(const line::FrameEvent& event)
{
    Row row;
    row.at = event.at;
    row.view = event.view;
    row.byteStart = bytesBase_ + bytes_.size();
    row.stored = static_cast<std::uint16_t>(
        std::min<std::size_t>(event.bytes.size(), std::numeric_limits<std::uint16_t>::max()));
    row.wireLength = static_cast<std::uint32_t>(
        std::min<std::size_t>(std::max<std::size_t>(event.wireLength, row.stored),
                              std::numeric_limits<std::uint32_t>::max()));
    if (event.roundTrip) {
        row.roundTrip = clamped(*event.roundTrip);
    }
    row.client = clientIndex(event);
    row.direction = event.direction;
    row.kind = event.kind;
    row.clash = event.clash;
    row.garbled = event.garbled;
    bytes_.insert(bytes_.end(), event.bytes.begin(), event.bytes.begin() + row.stored);
    rows_.push_back(row);
    if (rows_.size() > capacity_) {
        dropOldest();
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
    e.wall = row.at + wallOffset_;
    e.direction = row.direction;
    e.kind = row.kind;
    e.clash = row.clash;
    e.garbled = row.garbled;
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(row.byteStart - bytesBase_);
    e.bytes.assign(begin, begin + row.stored);
    e.view = row.view;
    e.wireLength = row.wireLength;
    if (row.roundTrip >= 0) {
        e.roundTrip = row.roundTrip;
    }
    if (row.client > 0) {
        e.client = clients_[row.client - 1U];
    }
    return e;
}

std::uint16_t FrameLog::clientIndex(const line::FrameEvent& event)
{
    // Only our own frames and the replies to them belong to a client.
    if (event.direction == line::Direction::Received && !event.request) {
        return 0;
    }
    const auto known = std::find(clients_.begin(), clients_.end(), event.origin);
    if (known != clients_.end()) {
        return static_cast<std::uint16_t>(known - clients_.begin() + 1);
    }
    // Rows keep a client in two bytes; past that many, newcomers go unnamed.
    if (clients_.size() == std::numeric_limits<std::uint16_t>::max() - 1U) {
        return 0;
    }
    clients_.push_back(event.origin);
    return static_cast<std::uint16_t>(clients_.size());
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
