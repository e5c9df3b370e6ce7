#include "check/interface_check.h"

#include "check/sentences.h"
#include "civ/commands.h"
#include "civ/transmit_queue.h"
#include "serial/baud_rates.h"

#include <algorithm>
#include <utility>

namespace check {

namespace {

// The longest request we send (read ID) and the longest reply we wait for (a frequency).
constexpr int kRequestBytes = 7;
constexpr int kReplyBytes = 11;
constexpr int kBitsPerByte = 10;
// What a radio takes to start its answer.
constexpr Millis kTurnaroundMs = 100;
// The pump reads on tick boundaries.
constexpr int kMarginTicks = 2;

} // namespace

InterfaceCheck::InterfaceCheck(int tickMs)
    : tickMs_(std::max(tickMs, 1))
{}

Step InterfaceCheck::take()
{
    if (phase_ != Phase::Idle) {
        out_.progress = progress();
        out_.activity = activity();
    }
    return std::exchange(out_, Step{});
}

void InterfaceCheck::finish()
{
    phase_ = Phase::Idle;
    // The caller puts the port back at the chosen rate.
    openRate_ = currentRate();
    unsent_ = 0;
    deadline_.reset();
    out_.progress = 100;
    out_.activity.clear();
    out_.done = true;
}

void InterfaceCheck::reset(const Setup& setup, Millis now)
{
    setup_ = setup;
    now_ = now;
    unsent_ = 0;
    deadline_.reset();
    droppedFrame_ = false;
    pollIds_.clear();
    answeredIds_.clear();
    roundTrips_.clear();
    refused_ = 0;
    scanRates_.clear();
    scanIndex_ = 0;
    deepRates_.clear();
    deepRateIndex_ = 0;
}

Step InterfaceCheck::start(const Setup& setup, Millis now)
{
    reset(setup, now);
    echo_ = Echo::Unknown;
    const bool ourOk = civ::isEncodableAddress(setup.ourId);
    if (!ourOk || !civ::isEncodableAddress(setup.radioId)) {
        out_.report.push_back(sentences::badAddress(ourOk ? "Radio ID" : "Our ID"));
        finish();
    } else if (setup.port.empty()) {
        out_.report.push_back(sentences::noPort());
        finish();
    } else {
        phase_ = Phase::Opening;
        out_.openRate = serial::baudRateForCode(setup.baudCode);
    }
    return take();
}

Step InterfaceCheck::opened(platform::OpenError error, const std::string& reason, Millis now)
{
    now_ = now;
    const bool ok = error == platform::OpenError::None;
    if (phase_ == Phase::Opening) {
        if (ok) {
            openRate_ = serial::baudRateForCode(setup_.baudCode);
            out_.report.push_back(sentences::opened(setup_.port, setup_.network ? 0 : openRate_));
            phase_ = Phase::Echo;
            echoMangled_ = false;
            replyBeforeEcho_ = false;
            queue({civ::readFrequency(setup_.radioId, setup_.ourId).frame}, now);
        } else {
            out_.report.push_back(sentences::openFailed(setup_.port, error, reason));
            finish();
        }
        return take();
    }
    openRate_ = ok ? scanRate_ : 0;
    if (error == platform::OpenError::NotFound) {
        // The port went away under the scan: no other rate will find it either.
        out_.report.push_back(sentences::lost(setup_.port, reason));
        finish();
    } else if (!ok) {
        out_.report.push_back(sentences::rateRefused(scanRate_, reason));
        phase_ == Phase::Deep ? nextDeepRate(now) : nextRate(now);
    } else {
        phase_ == Phase::Deep ? nextDeepAddress(now) : scanRate(now);
    }
    return take();
}

void InterfaceCheck::queue(std::vector<civ::Frame> frames, Millis now)
{
    unsent_ += static_cast<int>(frames.size());
    queuedAt_ = now;
    deadline_.reset();
    for (civ::Frame& frame : frames) {
        out_.send.push_back(std::move(frame));
    }
}

Millis InterfaceCheck::listenMs() const
{
    const int rate = std::max(setup_.network ? serial::baudRateForCode(setup_.baudCode) : openRate_,
                              serial::kBaudRates.front());
    const Millis lineMs = ((kRequestBytes + kReplyBytes) * kBitsPerByte * 1000 + rate - 1) / rate;
    return lineMs + kTurnaroundMs + Millis{kMarginTicks} * tickMs_;
}

bool InterfaceCheck::isOurs(const line::FrameEvent& event) const
{
    return event.origin.source == line::Source::Check;
}

Step InterfaceCheck::event(const line::FrameEvent& event)
{
    if (!running()) {
        return take();
    }
    now_ = std::max(now_, event.at);
    switch (event.direction) {
    case line::Direction::Sent:
        if (isOurs(event) && unsent_ > 0) {
            --unsent_;
            lastLeft_ = event.at;
            sent(event);
        }
        break;
    case line::Direction::Dropped:
        if (isOurs(event) && unsent_ > 0) {
            --unsent_;
            droppedFrame_ = true;
        }
        break;
    case line::Direction::Echo:
        if (isOurs(event) && phase_ == Phase::Echo && unsent_ == 0) {
            decideEcho(Echo::Own, event.at);
        }
        break;
    case line::Direction::Received:
        heard(event);
        break;
    }
    return take();
}

void InterfaceCheck::sent(const line::FrameEvent& event)
{
    switch (phase_) {
    case Phase::Poll:
        if (pollIds_.empty()) {
            firstPollLeft_ = event.at;
        }
        pollIds_.push_back(event.request.value_or(0));
        break;
    case Phase::Deep:
        nextDeepAddress(event.at);
        return;
    default:
        break;
    }
    if (unsent_ == 0) {
        deadline_ = event.at + listenMs();
    }
}

void InterfaceCheck::heard(const line::FrameEvent& event)
{
    switch (phase_) {
    case Phase::Echo:
        heardInEcho(event);
        break;
    case Phase::Poll:
    case Phase::Settle:
        if (event.request && std::ranges::find(pollIds_, *event.request) != pollIds_.end()) {
            pollAnswered(event);
        }
        break;
    case Phase::Scan:
    case Phase::Confirm:
    case Phase::Deep:
        heardInScan(event);
        break;
    case Phase::Idle:
    case Phase::Opening:
        break;
    }
}

Step InterfaceCheck::tick(Millis now, const line::PortStatus& port,
                          const std::optional<line::HoldBack>& held)
{
    if (!running()) {
        return take();
    }
    now_ = now;
    if (port.state == line::PortState::Lost) {
        out_.report.push_back(sentences::lost(setup_.port, port.reason));
        finish();
    } else if (droppedFrame_) {
        out_.report.push_back(sentences::dropped(setup_.port));
        finish();
    } else if (unsent_ > 0) {
        stuck(now, held);
    } else if (deadline_ && now >= *deadline_) {
        deadline_.reset();
        timedOut(now);
    }
    return take();
}

void InterfaceCheck::stuck(Millis now, const std::optional<line::HoldBack>& held)
{
    const Millis waited = now - queuedAt_;
    if (held && waited >= kBusyMs) {
        out_.report.push_back(sentences::busy(*held, waited, phase_ == Phase::Echo));
        finish();
    } else if (waited >= kStuckMs) {
        out_.report.push_back(sentences::stuck(waited));
        finish();
    }
}

Step InterfaceCheck::settingsChanged()
{
    if (running()) {
        out_.report.push_back(sentences::settingsChanged());
        finish();
    }
    return take();
}

Step InterfaceCheck::cancel()
{
    if (running()) {
        out_.report.push_back(sentences::cancelled());
        finish();
    }
    return take();
}

void InterfaceCheck::timedOut(Millis now)
{
    switch (phase_) {
    case Phase::Echo:
        decideEcho(echoMangled_ ? Echo::Garbled : Echo::Nothing, now);
        break;
    case Phase::Poll:
        pollTimedOut(now);
        break;
    case Phase::Settle:
        pollsDone(now);
        break;
    case Phase::Scan:
        scanTimedOut(now);
        break;
    case Phase::Confirm:
        confirmTimedOut();
        break;
    case Phase::Deep:
        deepTimedOut(now);
        break;
    case Phase::Idle:
    case Phase::Opening:
        break;
    }
}

void InterfaceCheck::heardInEcho(const line::FrameEvent& event)
{
    if (unsent_ > 0) {
        return;
    }
    if (event.kind != line::Kind::Frame) {
        echoMangled_ = true;
    } else if (event.to() == setup_.ourId) {
        // On a one-wire bus our echo comes before any answer to it.
        decideEcho(echoMangled_ ? Echo::Garbled : Echo::Nothing, event.at);
    }
}

void InterfaceCheck::decideEcho(Echo echo, Millis now)
{
    echo_ = echo;
    out_.report.push_back(sentences::echo(echo));
    phase_ = Phase::Poll;
    nextPoll(now);
}

void InterfaceCheck::nextPoll(Millis now)
{
    if (pollIds_.size() == static_cast<std::size_t>(kPolls)) {
        settle(lastLeft_);
        return;
    }
    queue({civ::readFrequency(setup_.radioId, setup_.ourId).frame}, now);
}

void InterfaceCheck::settle(Millis from)
{
    if (answeredIds_.size() == pollIds_.size()) {
        pollsDone(now_);
        return;
    }
    // A reply comes late rather than never: wait for it as long as the account does.
    phase_ = Phase::Settle;
    deadline_ = from + line::LinkAccount::kAnswerWindowMs;
}

void InterfaceCheck::pollTimedOut(Millis now)
{
    if (answeredIds_.empty() && pollIds_.size() >= static_cast<std::size_t>(kSilentPolls)) {
        settle(firstPollLeft_);
    } else {
        nextPoll(now);
    }
}

void InterfaceCheck::pollAnswered(const line::FrameEvent& event)
{
    if (!answeredIds_.insert(*event.request).second) {
        return;
    }
    roundTrips_.push_back(event.roundTrip.value_or(event.at - lastLeft_));
    refused_ += event.command() == civ::kNg ? 1 : 0;
    const bool full = pollIds_.size() == static_cast<std::size_t>(kPolls);
    if (phase_ == Phase::Settle && !full) {
        // The radio is there after all, only slow: go on polling.
        phase_ = Phase::Poll;
        nextPoll(event.at);
    } else if (phase_ == Phase::Settle && answeredIds_.size() == pollIds_.size()) {
        pollsDone(event.at);
    } else if (phase_ == Phase::Poll && unsent_ == 0 && *event.request == pollIds_.back()) {
        nextPoll(event.at);
    }
}

void InterfaceCheck::pollsDone(Millis now)
{
    const int polls = static_cast<int>(pollIds_.size());
    const int rate = setup_.network ? 0 : serial::baudRateForCode(setup_.baudCode);
    if (answeredIds_.empty()) {
        out_.report.push_back(sentences::silent(setup_.radioId, rate, polls));
        startScan(now);
        return;
    }
    std::vector<Millis> times = roundTrips_;
    std::ranges::sort(times);
    const std::size_t n = times.size();
    const Millis median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    out_.report.push_back(sentences::answered({setup_.radioId,
                                               rate,
                                               static_cast<int>(n),
                                               polls,
                                               {times.front(), median, times.back()},
                                               refused_,
                                               tickMs_}));
    finish();
}

int InterfaceCheck::progress() const
{
    const int scanUnits = setup_.network ? 1 : 15;
    const int total = 1 + kPolls + scanUnits;
    switch (phase_) {
    case Phase::Opening:
    case Phase::Echo:
        return 100 / total;
    case Phase::Poll:
    case Phase::Settle:
        return static_cast<int>(1 + pollIds_.size()) * 100 / total;
    case Phase::Scan:
    case Phase::Confirm:
        return static_cast<int>(1 + kPolls + scanIndex_) * 100 / total;
    case Phase::Deep:
        return static_cast<int>(((deepRateIndex_ - 1) * kLastAddress + deepAddress_) * 100 /
                                (std::max<std::size_t>(deepRates_.size(), 1) * kLastAddress));
    case Phase::Idle:
        break;
    }
    return 100;
}

std::string InterfaceCheck::activity() const
{
    const int rate = setup_.network ? 0 : scanRate_;
    switch (phase_) {
    case Phase::Opening:
    case Phase::Echo:
        return sentences::activityEcho();
    case Phase::Poll:
    case Phase::Settle:
        return sentences::activityPoll(
            setup_.radioId, std::min<int>(static_cast<int>(pollIds_.size()) + 1, kPolls), kPolls);
    case Phase::Scan:
    case Phase::Confirm:
        return sentences::activityScan(rate, static_cast<int>(scanIndex_),
                                       static_cast<int>(scanRates_.size()));
    case Phase::Deep:
        return sentences::activityDeep(rate, deepAddress_, kLastAddress);
    case Phase::Idle:
        break;
    }
    return {};
}

} // namespace check
