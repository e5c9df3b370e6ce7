// The bus search's steps: its start, each tick's probe and find, its stop, and replies seen.
#include "discovery/radio_search.h"

#include "civ/address.h"

namespace discovery {

void RadioSearch::start()
{
    findRadiosState = kFirstState;
    pollRadios = false;
}

RadioSearch::Step RadioSearch::tick()
{
    Step step;
    ++findRadiosState;
    if (findRadiosState < 0) {
        return step;
    }
    step.found = answered(findRadiosState - 1);
    if (findRadiosState <= kLastAddress) {
        step.progress = findRadiosState;
        gotFreqReply = false;
        step.probe = civ::isEncodableAddress(findRadiosState);
    } else {
        step.ended = stop().ended;
    }
    return step;
}

RadioSearch::Step RadioSearch::stop()
{
    Step step;
    step.found = running() ? answered(findRadiosState) : std::nullopt;
    step.ended = true;
    findRadiosState = kFirstState;
    gotFreqReply = false;
    pollRadios = true;
    return step;
}

std::optional<int> RadioSearch::answered(int probed) const
{
    // A reply that arrived since a probe answers it; the reserved codes were never probed, so
    // nothing heard then can be theirs.
    if (gotFreqReply && civ::isEncodableAddress(probed)) {
        return probed;
    }
    return std::nullopt;
}

void RadioSearch::replySeen(int fromId, int ourId)
{
    // Probing our own address makes the bus echo the probe back; that is not a radio.
    if (!pollRadios && fromId != ourId) {
        gotFreqReply = true;
    }
}

} // namespace discovery
