// Display changes paired with the replies and polls behind them, and the ticks they missed.
#include "reply_latency.h"

#include "civ/bcd.h"
#include "civ/frame.h"
#include "civ/reply_decoder.h"
#include "wall_clock.h"

#include <algorithm>
#include <span>

namespace bench {

namespace {

// civ-sim's stamps are truncated to the millisecond.
constexpr double kLogResolutionMs = 1;

const SimFrame* replyFor(const std::vector<SimFrame>& frames, int us, const DisplayChange& change)
{
    const std::string text = change.text.toStdString();
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if (!it->sent || it->to != us || it->cmd != civ::kCmdReadFrequency || it->data.empty() ||
            msBetween(it->ms, change.ms) < 0) {
            continue;
        }
        if (civ::formatKhz(civ::ParseFreq(std::span<const int>(it->data))) == text) {
            return &*it;
        }
    }
    return nullptr;
}

int ticksBetween(const std::vector<double>& tickEnds, double from, double to)
{
    return static_cast<int>(std::count_if(tickEnds.begin(), tickEnds.end(), [&](double t) {
        return msBetween(from, t) > 0 && msBetween(t, to) > 0;
    }));
}

} // namespace

Latencies replyLatencies(const std::vector<SimFrame>& frames, int us,
                         const std::vector<DisplayChange>& changes,
                         const std::vector<double>& pollTimes, const std::vector<double>& tickEnds)
{
    Latencies out;
    for (const DisplayChange& change : changes) {
        const SimFrame* reply = replyFor(frames, us, change);
        if (!reply) {
            ++out.unmatched;
            continue;
        }
        out.replyToDisplay.push_back(msBetween(reply->ms, change.ms));
        out.ticksMissed.push_back(ticksBetween(tickEnds, reply->ms + kLogResolutionMs, change.ms));
        // The poll it answers is the last one written before the reply went out.
        const double* poll = nullptr;
        for (const double& t : pollTimes) {
            if (msBetween(t, reply->ms + kLogResolutionMs) >= 0) {
                poll = &t;
            }
        }
        if (poll) {
            out.pollToDisplay.push_back(msBetween(*poll, change.ms));
        }
    }
    return out;
}

} // namespace bench
