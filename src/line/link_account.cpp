// The link account: port states, frames sent and heard, echoes, answers and silence.
#include "line/link_account.h"

#include <algorithm>
#include <utility>

namespace line {

namespace {

constexpr Millis kEchoSlackMs = 150;
// A network port's echo comes back through the far end's buffers, not at the wire's pace.
constexpr Millis kNetworkEchoMs = 300;
// What the hold-back tally remembers at most, so that a stuck ring keeps it bounded.
constexpr Millis kTalkMemoryMs = 30'000;
constexpr int kBitsPerByte = 10;

} // namespace

FrameEvent::FrameEvent(Direction direction, Kind kind, std::vector<std::uint8_t> bytes)
    : direction(direction)
    , kind(kind)
    , bytes(std::move(bytes))
{
    if (kind != Kind::Jam && kind != Kind::Stray) {
        view = civ::viewFrame(this->bytes);
    }
}

void LinkAccount::portChosen(std::string port, int rate, bool network, Millis now)
{
    if (port.empty()) {
        port_.state = PortState::NotChosen;
        port_.since = now;
    }
    port_.port = std::move(port);
    port_.rate = rate;
    port_.network = network;
    port_.reason.clear();
}

void LinkAccount::portOpened(Millis now)
{
    setState(PortState::Open, {}, now);
}

void LinkAccount::portOpening(Millis now)
{
    setState(PortState::Opening, {}, now);
}

void LinkAccount::portFailed(std::string reason, Millis now)
{
    setState(PortState::NeverOpened, std::move(reason), now);
    forgetAnswers();
}

void LinkAccount::portLost(std::string reason, Millis now)
{
    setState(PortState::Lost, std::move(reason), now);
    forgetAnswers();
}

void LinkAccount::setState(PortState state, std::string reason, Millis now)
{
    port_.state = state;
    port_.reason = std::move(reason);
    port_.since = now;
}

void LinkAccount::forgetAnswers()
{
    // Nothing can answer through a port that is gone: not the radio's silence.
    echoes_.clear();
    requests_.clear();
}

void LinkAccount::setAddresses(int our, int radio)
{
    our_ = our;
    radio_ = radio;
}

std::uint64_t LinkAccount::queued(std::span<const std::uint8_t> frame, const Origin& origin,
                                  Millis now)
{
    return queue_.add(frame, origin, now);
}

void LinkAccount::written(std::uint64_t id, Millis now)
{
    if (auto frame = queue_.take(id)) {
        handed(std::move(*frame), true, now);
    }
}

void LinkAccount::dropped(std::uint64_t id, Millis now)
{
    if (auto frame = queue_.take(id)) {
        handed(std::move(*frame), false, now);
    }
}

void LinkAccount::ringCleared(Millis now)
{
    for (SendQueue::Queued& frame : queue_.takeAll()) {
        handed(std::move(frame), false, now);
    }
}

void LinkAccount::handed(SendQueue::Queued frame, bool left, Millis now)
{
    const std::size_t length = frame.frame.size();
    FrameEvent event(left ? Direction::Sent : Direction::Dropped, Kind::Frame,
                     std::move(frame.frame));
    event.wireLength = length;
    event.at = now;
    event.origin = frame.origin;
    event.request = frame.id;
    if (left) {
        const Millis wire = wireTime(length);
        requests_.add(event.bytes, event.view, frame.id, frame.origin, now,
                      now + wire + kAnswerWindowMs);
        const Millis window = port_.network ? kNetworkEchoMs : wire + kEchoSlackMs;
        echoes_.push_back({event.bytes, frame.origin, frame.id, now + window});
        ++counted(frame.origin).sent;
    }
    events_.push_back(std::move(event));
}

void LinkAccount::received(std::span<const std::uint8_t> bytes, Millis now)
{
    expire(now);
    pieces_.clear();
    cutter_.push(bytes, now, pieces_);
    for (FrameCutter::Piece& piece : pieces_) {
        take(std::move(piece));
    }
}

void LinkAccount::tick(Millis now)
{
    expire(now);
    pieces_.clear();
    cutter_.closeRun(pieces_);
    for (FrameCutter::Piece& piece : pieces_) {
        take(std::move(piece));
    }
    const Millis keepFrom = std::max(queue_.oldestQueuedAt().value_or(now), now - kTalkMemoryMs);
    talk_.forgetBefore(keepFrom);
}

void LinkAccount::take(FrameCutter::Piece piece)
{
    FrameEvent event(Direction::Received, piece.kind, std::move(piece.bytes));
    event.wireLength = piece.wireLength;
    event.at = piece.at;
    if (isEcho(event)) {
        events_.push_back(std::move(event));
        return;
    }
    const int from = event.view.from;
    event.clash = from >= 0 && from == our_;
    if (event.kind == Kind::Frame) {
        answer(event);
        RadioStatus& radio = radios_[from];
        radio.lastHeard = event.at;
        radio.unanswered = 0;
        radio.silentSince.reset();
        if (from != our_) {
            talk_.heard(from, event.at);
        }
    }
    events_.push_back(std::move(event));
}

bool LinkAccount::isEcho(FrameEvent& event)
{
    if (event.kind != Kind::Frame && event.kind != Kind::Headless) {
        return false;
    }
    // Echoes past their window went at expire(), before this read was cut.
    if (echoes_.empty() || echoes_.front().frame != event.bytes) {
        return false;
    }
    event.direction = Direction::Echo;
    event.origin = std::move(echoes_.front().origin);
    event.request = echoes_.front().id;
    echoes_.pop_front();
    return true;
}

void LinkAccount::answer(FrameEvent& event)
{
    const auto answered = requests_.answer(event.view);
    if (!answered) {
        return;
    }
    event.origin = answered->origin;
    event.request = answered->id;
    event.roundTrip = event.at - answered->leftAt;
    OriginCount& count = counted(answered->origin);
    ++count.answered;
    if (answered->refused) {
        ++count.refused;
    }
}

void LinkAccount::expire(Millis now)
{
    while (!echoes_.empty() && echoes_.front().until < now) {
        echoes_.pop_front();
    }
    unanswered_.clear();
    requests_.expire(now, unanswered_);
    for (const RequestBook::Unanswered& u : unanswered_) {
        RadioStatus& radio = radios_[u.to];
        ++radio.unanswered;
        if (!radio.silentSince) {
            radio.silentSince = u.leftAt;
        }
    }
}

Millis LinkAccount::wireTime(std::size_t bytes) const
{
    if (port_.network || port_.rate <= 0) {
        return 0;
    }
    const auto bits = static_cast<Millis>(bytes) * kBitsPerByte * 1000;
    return (bits + port_.rate - 1) / port_.rate;
}

std::vector<FrameEvent> LinkAccount::takeEvents()
{
    return std::exchange(events_, {});
}

bool LinkAccount::waiting(std::uint64_t id) const
{
    return queue_.waiting(id);
}

std::optional<HoldBack> LinkAccount::heldBack(Millis now) const
{
    const auto queuedAt = queue_.oldestQueuedAt();
    if (!queuedAt || now - *queuedAt < kHeldBackMs) {
        return std::nullopt;
    }
    TalkTally::Summary heard = talk_.since(*queuedAt);
    if (heard.frames == 0) {
        return std::nullopt;
    }
    return HoldBack{*queuedAt, std::move(heard.talkers), heard.frames};
}

RadioStatus LinkAccount::radio(int address) const
{
    const auto found = radios_.find(address);
    return found == radios_.end() ? RadioStatus{} : found->second;
}

void LinkAccount::forgetSilence(int address)
{
    const auto found = radios_.find(address);
    if (found != radios_.end()) {
        found->second.unanswered = 0;
        found->second.silentSince.reset();
    }
}

OriginCount LinkAccount::count(const Origin& origin) const
{
    const auto found = std::ranges::find(counts_, origin, &CountRow::first);
    return found == counts_.end() ? OriginCount{} : found->second;
}

OriginCount& LinkAccount::counted(const Origin& origin)
{
    const auto found = std::ranges::find(counts_, origin, &CountRow::first);
    return found == counts_.end() ? counts_.emplace_back(origin, OriginCount{}).second
                                  : found->second;
}

} // namespace line
