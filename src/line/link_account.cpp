// The link account: port states, frames sent and heard, echoes, answers and silence.
// Longer than most files: the port, the ring's frames, echoes, pairing and talk are one account,
// and each of them reads the others' state at every event.
#include "line/link_account.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <utility>

namespace line {

namespace {

// The least an echo is awaited past its wire time: a read may end a tick after it came.
constexpr Millis kEchoSlackMs = 150;
// How much each echo moves the estimate of its delay down; a longer one takes it at once.
constexpr Millis kEchoSmoothing = 8;
// A frame of our echo's length with this many bits changed is our echo, garbled; another
// controller's copy of our request differs in more.
constexpr int kGarbledBits = 1;
constexpr int kBitsPerByte = 10;

int bitsChanged(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    int bits = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        bits += std::popcount(static_cast<unsigned>(a[i] ^ b[i]));
    }
    return bits;
}

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
    quiet();
}

void LinkAccount::quiet()
{
    busySince_.reset();
    talk_.clear();
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
    quiet();
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
        const Millis radioTakes = requests_.roundTrip(event.view.to).value_or(0);
        requests_.add(event.bytes, event.view, frame.id, frame.origin, now,
                      now + wire + std::max(kAnswerWindowMs, 2 * radioTakes));
        echoes_.push_back({event.bytes, frame.origin, frame.id, now, wire});
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
    // Busy until others have been quiet for a hold and none of ours they held still waits.
    const auto queuedAt = queue_.oldestQueuedAt();
    if (busySince_ && now - lastTalk_ > kHeldBackMs && (!queuedAt || *queuedAt > lastTalk_)) {
        quiet();
    }
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
        heardTalk(event);
    }
    events_.push_back(std::move(event));
}

void LinkAccount::heardTalk(const FrameEvent& event)
{
    // Replies to us, paired or late past pairing, are our own traffic.
    if (event.view.from == our_ || event.view.to == our_ || event.request) {
        return;
    }
    lastTalk_ = event.at;
    const auto queuedAt = queue_.oldestQueuedAt();
    if (!queuedAt) {
        return;
    }
    if (!busySince_) {
        busySince_ = *queuedAt;
    }
    talk_.heard(event.view.from);
}

bool LinkAccount::isEcho(FrameEvent& event)
{
    // Echoes past their window went at expire(), before this read was cut.
    if (echoes_.empty() || event.kind == Kind::Jam || event.kind == Kind::Overlong) {
        return false;
    }
    // In order: an echo that never came back is passed over by the next one that does.
    for (std::size_t i = 0; i < echoes_.size(); ++i) {
        if (echoes_[i].frame == event.bytes) {
            tellEcho(event, i, false);
            return true;
        }
    }
    const civ::Frame& expected = echoes_.front().frame;
    if (expected.size() == event.bytes.size() &&
        bitsChanged(expected, event.bytes) <= kGarbledBits) {
        tellEcho(event, 0, true);
        return true;
    }
    return false;
}

void LinkAccount::tellEcho(FrameEvent& event, std::size_t pending, bool garbled)
{
    Echo& echo = echoes_[pending];
    if (!garbled) {
        const Millis delay = std::max<Millis>(event.at - echo.wroteAt - echo.wire, 0);
        echoDelay_ = !echoDelay_ || delay > *echoDelay_
                         ? delay
                         : *echoDelay_ + (delay - *echoDelay_) / kEchoSmoothing;
    }
    event.direction = Direction::Echo;
    event.garbled = garbled;
    event.origin = std::move(echo.origin);
    event.request = echo.id;
    echoes_.erase(echoes_.begin(), echoes_.begin() + static_cast<std::ptrdiff_t>(pending) + 1);
}

Millis LinkAccount::echoWindow() const
{
    return echoDelay_ ? std::max(kEchoSlackMs, 2 * *echoDelay_) : kFirstEchoMs;
}

void LinkAccount::answer(FrameEvent& event)
{
    auto answered = requests_.answer(event.view, event.at);
    if (!answered) {
        return;
    }
    event.origin = answered->origin;
    event.request = answered->id;
    event.roundTrip = event.at - answered->leftAt;
    event.lost = std::move(answered->lost);
    OriginCount& count = counted(answered->origin);
    ++count.answered;
    if (answered->refused) {
        ++count.refused;
    }
}

void LinkAccount::expire(Millis now)
{
    const Millis window = echoWindow();
    while (!echoes_.empty() && echoes_.front().wroteAt + echoes_.front().wire + window < now) {
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
    if (!queuedAt || !busySince_ || now - *queuedAt < kHeldBackMs) {
        return std::nullopt;
    }
    TalkTally::Summary heard = talk_.summary();
    return HoldBack{*busySince_, std::move(heard.talkers), heard.frames};
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
