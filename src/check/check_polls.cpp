// The check's ten polls of the radio at Radio ID, what the window shows meanwhile.
#include "check/interface_check.h"
#include "check/sentences.h"
#include "civ/commands.h"
#include "serial/baud_rates.h"

#include <algorithm>

namespace check {

void InterfaceCheck::nextPoll(Millis now)
{
    if (polls_ == kPolls) {
        pollsDone(now);
        return;
    }
    queue({civ::readFrequency(setup_.radioId, setup_.ourId).frame}, now);
}

void InterfaceCheck::pollTimedOut(Millis now)
{
    // The account has given the open poll up too: a reply after this is credited to nothing.
    if (openPoll_) {
        lostPolls_.push_back(polls_);
        openPoll_.reset();
    }
    if (roundTrips_.empty() && polls_ >= kSilentPolls) {
        pollsDone(now);
    } else {
        nextPoll(now);
    }
}

void InterfaceCheck::pollAnswered(const line::FrameEvent& event)
{
    openPoll_.reset();
    roundTrips_.push_back(event.roundTrip.value_or(0));
    refused_ += event.view.command == civ::kNg ? 1 : 0;
    if (phase_ == Phase::Poll) {
        nextPoll(event.at);
    }
}

void InterfaceCheck::pollsDone(Millis now)
{
    const int rate = setup_.network ? 0 : serial::baudRateForCode(setup_.baudCode);
    if (roundTrips_.empty()) {
        out_.report.push_back(sentences::silent(setup_.radioId, rate, polls_));
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
                                               polls_,
                                               {times.front(), median, times.back()},
                                               refused_,
                                               tickMs_,
                                               lostPolls_}));
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
        return (1 + polls_) * 100 / total;
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
    case Phase::Poll: {
        const int shown = polls_ + (openPoll_ ? 0 : 1);
        return sentences::activityPoll(setup_.radioId, std::min(shown, kPolls), kPolls);
    }
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
