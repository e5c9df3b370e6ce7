// How long a frequency reply took to reach the display, matched from civ-sim's log.
#pragma once

#include "sim_log.h"

#include <QString>
#include <vector>

namespace bench {

// The frequency display took a new text; ms is the time of day at the end of that Timer1 tick.
struct DisplayChange {
    double ms = 0;
    QString text;
};

struct Latencies {
    std::vector<double> replyToDisplay; // civ-sim wrote the reply -> display changed
    std::vector<double> pollToDisplay;  // the program wrote the poll -> display changed
    // Per change: Timer1 ticks that ended after the reply was surely on the line, yet did not
    // show it. Zero means the display changed on the first tick after the reply.
    std::vector<int> ticksMissed;
    int unmatched = 0; // changes no logged reply explains
};

// Pairs each change with the latest frequency reply to `us` that carries the new text.
// tickEnds: the end of every Timer1 tick, in order.
Latencies replyLatencies(const std::vector<SimFrame>& frames, int us,
                         const std::vector<DisplayChange>& changes,
                         const std::vector<double>& pollTimes, const std::vector<double>& tickEnds);

} // namespace bench
