// The other stations' frames forgotten when old, and counted by sender since a given time.
#include "line/talk_tally.h"

#include <algorithm>

namespace line {

void TalkTally::forgetBefore(Millis keepFrom)
{
    while (!heard_.empty() && heard_.front().first < keepFrom) {
        if (countedFrom_ && heard_.front().first >= *countedFrom_) {
            countedFrom_.reset();
        }
        heard_.pop_front();
        counted_ = counted_ > 0 ? counted_ - 1 : 0;
    }
}

TalkTally::Summary TalkTally::since(Millis from) const
{
    if (countedFrom_ != from) {
        countedFrom_ = from;
        counted_ = 0;
        frames_.clear();
        total_ = 0;
    }
    for (; counted_ < heard_.size(); ++counted_) {
        const auto& [at, address] = heard_[counted_];
        if (at >= from) {
            ++frames_[address];
            ++total_;
        }
    }
    std::vector<std::pair<int, int>> ranked(frames_.begin(), frames_.end());
    // Stable: among equally busy talkers the lower address comes first.
    std::ranges::stable_sort(ranked,
                             [](const auto& a, const auto& b) { return a.second > b.second; });
    Summary out;
    out.frames = total_;
    for (const auto& [address, count] : ranked) {
        out.talkers.push_back(address);
    }
    return out;
}

} // namespace line
