// What the simulator puts on the line, and when: load, replies with a real bus's faults, pacing.
#include "line_rate.h"
#include "log.h"
#include "simulator.h"

#include <algorithm>
#include <array>
#include <iostream>

namespace civsim {

namespace {

// A frame half received for longer than this was abandoned; radios stop waiting for it.
constexpr auto kAbandonedFrame = std::chrono::milliseconds(50);
// Flood frames are queued this far ahead of the line, to keep wake-ups few.
constexpr auto kFloodLead = std::chrono::milliseconds(10);
// More than this waiting means nobody reads the line.
constexpr std::size_t kMaxQueued = std::size_t{64} * 1024;

} // namespace

void Simulator::runTimers(TimePoint now)
{
    if (const Bytes due = inbound_.take(now); !due.empty()) {
        hear(due, now);
    }
    release(now);
    if (jam_.fire(now)) {
        static constexpr std::array<std::uint8_t, 1> kJamCode{kJam};
        log("tx", kJamCode);
        send(kJamCode, now);
    }
    if (noise_.fire(now)) {
        const Bytes noise = noiseBurst(rng_);
        log("tx", noise);
        send(noise, now);
    }
    if (dial_.fire(now)) {
        for (Frame& report : bus_.turnDials()) {
            pending_.push_back({now, std::move(report), {}});
        }
    }
    if (chatter_.fire(now)) {
        pending_.push_back({now, chatterReport(flood_.stationA(), chatterCount_++), {}});
    }
    while (!pending_.empty() && pending_.front().due <= now && !busBusy(now)) {
        sendPending(pending_.front(), now);
        pending_.pop_front();
    }
    if (options_.flood && transport_.lineFd() >= 0 && !busBusy(now)) {
        while (lineFreeAt_ <= now + kFloodLead) {
            sendFrame(flood_.next(bus_.radios()), now);
        }
    }
}

std::optional<Simulator::TimePoint> Simulator::nextDeadline() const
{
    std::optional<TimePoint> next;
    const auto consider = [&next](TimePoint t) { next = next ? std::min(*next, t) : t; };
    for (const DelayLine* link : {&inbound_, &outbound_}) {
        if (const auto due = link->nextDue()) {
            consider(*due);
        }
    }
    if (jam_.period != Clock::duration::zero()) {
        consider(jam_.next);
    }
    if (noise_.period != Clock::duration::zero()) {
        consider(noise_.next);
    }
    if (dial_.period != Clock::duration::zero()) {
        consider(dial_.next);
    }
    if (chatter_.period != Clock::duration::zero()) {
        consider(chatter_.next);
    }

    // Radios hold their output while a frame is coming in, up to kAbandonedFrame.
    const TimePoint busFree = bus_.receiving() ? lastRx_ + kAbandonedFrame : TimePoint{};
    if (!pending_.empty()) {
        consider(std::max(pending_.front().due, busFree));
    }
    if (options_.flood && transport_.lineFd() >= 0) {
        consider(std::max(lineFreeAt_ - kFloodLead, busFree));
    }
    return next;
}

bool Simulator::busBusy(TimePoint now) const
{
    return bus_.receiving() && now - lastRx_ < kAbandonedFrame;
}

std::optional<int> Simulator::otherRate() const
{
    const std::optional<int> theirs = options_.rate ? transport_.controllerRate() : std::nullopt;
    return theirs && *theirs != options_.rate ? theirs : std::nullopt;
}

void Simulator::send(std::span<const std::uint8_t> bytes, TimePoint now)
{
    if (const std::optional<int> theirs = otherRate()) {
        const Bytes heard = misheard(bytes, options_.rate, *theirs);
        queue(heard, now);
    } else {
        queue(bytes, now);
    }
}

void Simulator::queue(std::span<const std::uint8_t> bytes, TimePoint now)
{
    if (bytes.empty() || transport_.lineFd() < 0) {
        return;
    }
    lineFreeAt_ = std::max(lineFreeAt_, now) + lineTime(bytes.size(), options_.baud);
    outbound_.push(bytes, now);
    release(now);
}

void Simulator::release(TimePoint now)
{
    const Bytes due = outbound_.take(now);
    out_.insert(out_.end(), due.begin(), due.end());
    if (out_.size() > kMaxQueued) {
        transport_.discardUnread();
        out_.clear();
    }
}

void Simulator::queueReplies(const std::vector<Frame>& replies, TimePoint due)
{
    for (const Frame& reply : replies) {
        // Reports to all are not replies: they come as they are.
        const auto fate = reply.dest == kBroadcast ? ReplyFaults::Fate::Sent : replyFaults_.next();
        switch (fate) {
        case ReplyFaults::Fate::Sent:
            pending_.push_back({due, reply, {}});
            break;
        case ReplyFaults::Fate::Lost:
            log("lost", reply.encode());
            break;
        case ReplyFaults::Fate::Cut: {
            const Bytes whole = reply.encode();
            Bytes line = cutShort(whole);
            line.insert(line.end(), whole.begin(), whole.end());
            pending_.push_back({due, reply, std::move(line)});
            break;
        }
        }
    }
}

void Simulator::sendFrame(const Frame& frame, TimePoint now)
{
    const Bytes bytes = frame.encode();
    log("tx", bytes);
    send(bytes, now);
}

void Simulator::sendPending(const PendingReply& reply, TimePoint now)
{
    if (reply.raw.empty()) {
        sendFrame(reply.frame, now);
        return;
    }
    log("tx", reply.raw);
    send(reply.raw, now);
}

void Simulator::log(std::string_view direction, std::span<const std::uint8_t> bytes) const
{
    if (options_.log) {
        std::cerr << logLine(direction, bytes) << '\n';
    }
}

} // namespace civsim
