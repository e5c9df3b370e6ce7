// The interface check's driver: its start, the events and the ticks, to the phase under way.
// A little over the usual length: the dispatch of every event kind to its phase stays in one
// place; the phases themselves live in check_echo, check_polls, check_scan and check_deep.
#include "check/interface_check.h"

#include "check/sentences.h"
#include "civ/address.h"
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
    polls_ = 0;
    openPoll_.reset();
    lostPolls_.clear();
    asked_.clear();
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
        portOpened(error, reason, now);
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

Millis InterfaceCheck::givenUpAt(Millis left) const
{
    // The account adds the request's wire time, never more than what we allow for a reply.
    return left + listenMs() + line::LinkAccount::kAnswerWindowMs;
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
        if (isOurs(event) && event.view.command == civ::kCmdReadId) {
            readIdEchoed_ = event.at;
        }
        if (isOurs(event) && phase_ == Phase::Echo && unsent_ == 0) {
            decideEcho(event.garbled ? Echo::Garbled : Echo::Own, event.at);
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
    const int command = event.view.command;
    switch (phase_) {
    case Phase::Echo:
    case Phase::Poll:
        echoSent_ = event.bytes;
        ++polls_;
        openPoll_ = event.request;
        pollGivenUpAt_ = givenUpAt(event.at);
        break;
    case Phase::Scan:
    case Phase::Confirm:
    case Phase::Deep:
        if (command == civ::kCmdReadFrequency && event.request) {
            asked_.insert(*event.request);
        } else if (command == civ::kCmdReadId) {
            readIdLeft_ = event.at;
            readIdEchoed_.reset();
            ++readIds_;
        }
        if (phase_ == Phase::Deep) {
            nextDeepAddress(event.at);
            return;
        }
        break;
    case Phase::Idle:
    case Phase::Opening:
        break;
    }
    if (unsent_ == 0) {
        deadline_ = phase_ == Phase::Poll ? pollGivenUpAt_ : event.at + listenMs();
    }
}

void InterfaceCheck::heard(const line::FrameEvent& event)
{
    switch (phase_) {
    case Phase::Echo:
        heardInEcho(event);
        [[fallthrough]];
    case Phase::Poll:
        if (event.request && event.request == openPoll_) {
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

} // namespace check
