#include "discovery/radio_search.h"

namespace discovery {

namespace {

// Codes every receiver treats specially: a probe to them would jam or break the bus.
constexpr bool isReserved(int address)
{
    return address >= 0xFC && address <= 0xFE;
}

} // namespace

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
    // A reply that arrived since the last tick answers the previous probe; the reserved codes
    // were never probed, so nothing heard then can be theirs.
    const int previous = findRadiosState - 1;
    if (gotFreqReply && previous >= 0 && !isReserved(previous)) {
        step.found = previous;
    }
    if (findRadiosState <= kLastAddress) {
        step.progress = findRadiosState;
        gotFreqReply = false;
        step.probe = !isReserved(findRadiosState);
    } else {
        stop();
        step.ended = true;
    }
    return step;
}

void RadioSearch::stop()
{
    findRadiosState = kFirstState;
    pollRadios = true;
}

void RadioSearch::replySeen(int fromId, int ourId)
{
    // Probing our own address makes the bus echo the probe back; that is not a radio.
    if (!pollRadios && fromId != ourId) {
        gotFreqReply = true;
    }
}

} // namespace discovery
