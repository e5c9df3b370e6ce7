// The check's first phases: the port opened, and what comes back of our own bytes.
#include "check/interface_check.h"
#include "check/sentences.h"
#include "civ/commands.h"
#include "serial/baud_rates.h"

namespace check {

void InterfaceCheck::portOpened(platform::OpenError error, const std::string& reason, Millis now)
{
    if (error != platform::OpenError::None) {
        out_.report.push_back(sentences::openFailed(setup_.port, error, reason));
        finish();
        return;
    }
    openRate_ = serial::baudRateForCode(setup_.baudCode);
    out_.report.push_back(sentences::opened(setup_.port, setup_.network ? 0 : openRate_));
    phase_ = Phase::Echo;
    echoMangled_ = false;
    queue({civ::readFrequency(setup_.radioId, setup_.ourId).frame}, now);
}

void InterfaceCheck::heardInEcho(const line::FrameEvent& event)
{
    if (unsent_ > 0) {
        return;
    }
    if (event.kind != line::Kind::Frame) {
        echoMangled_ = true;
    } else if (event.view.to == setup_.ourId) {
        // On a one-wire bus our echo comes before any answer to it.
        decideEcho(echoMangled_ ? Echo::Garbled : Echo::Nothing, event.at);
    } else if (event.bytes.size() == echoSent_.size() && event.bytes != echoSent_) {
        // Still a frame, but not the one we wrote, nor an answer: our echo with bits changed.
        decideEcho(Echo::Garbled, event.at);
    }
}

void InterfaceCheck::decideEcho(Echo echo, Millis now)
{
    echo_ = echo;
    out_.report.push_back(sentences::echo(echo));
    phase_ = Phase::Poll;
    if (openPoll_) {
        deadline_ = pollGivenUpAt_;
    } else {
        nextPoll(now);
    }
}

} // namespace check
