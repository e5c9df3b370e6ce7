// The check's deeper search: a read frequency to every address, for radios that ignore read ID.
#include "check/interface_check.h"
#include "check/sentences.h"
#include "civ/commands.h"
#include "civ/transmit_queue.h"

namespace check {

Millis InterfaceCheck::deepSearchMsPerRate() const
{
    // Without an echo the ring waits its full delay after each frame; with one, only until
    // two ticks after the echo, read before the next release is due.
    const int ticks = echo_ == Echo::Nothing ? civ::TransmitQueue::kDelayAfterRelease + 1
                                             : civ::TransmitQueue::kDelayAfterFrameEnd + 1;
    return Millis{kLastAddress - 1} * ticks * tickMs_;
}

Step InterfaceCheck::deepSearch(int rate, Millis now)
{
    if (running() || setup_.port.empty()) {
        return take();
    }
    reset(setup_, now);
    phase_ = Phase::Deep;
    if (setup_.network) {
        deepRates_ = {currentRate()};
    } else if (rate > 0) {
        deepRates_ = {rate};
    } else {
        deepRates_ = usualRates();
    }
    out_.report.push_back(
        sentences::deepStart(setup_.network ? 0 : rate, deepSearchMsPerRate(), setup_.network));
    nextDeepRate(now);
    return take();
}

void InterfaceCheck::nextDeepRate(Millis now)
{
    if (deepRateIndex_ == deepRates_.size()) {
        out_.report.push_back(sentences::deepNothing(echo_, setup_.network));
        finish();
        return;
    }
    phase_ = Phase::Deep;
    scanRate_ = deepRates_[deepRateIndex_++];
    confirmed_.clear();
    deepAddress_ = 0;
    if (scanRate_ != openRate_ && !setup_.network) {
        out_.openRate = scanRate_;
        return;
    }
    nextDeepAddress(now);
}

void InterfaceCheck::nextDeepAddress(Millis now)
{
    ++deepAddress_;
    if (deepAddress_ == setup_.ourId) {
        ++deepAddress_;
    }
    if (deepAddress_ > kLastAddress) {
        // Late answers to the last addresses still count.
        deadline_ = lastLeft_ + line::LinkAccount::kAnswerWindowMs;
        return;
    }
    // One frame at a time, queued as the one before leaves: the ring never idles.
    queue({civ::readFrequency(deepAddress_, setup_.ourId).frame}, now);
}

void InterfaceCheck::deepTimedOut(Millis now)
{
    if (!confirmed_.empty()) {
        found();
        return;
    }
    out_.report.push_back(sentences::deepSilent(setup_.network ? 0 : scanRate_));
    nextDeepRate(now);
}

} // namespace check
