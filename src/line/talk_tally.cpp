// The talkers that held our frames back, the busiest first.
#include "line/talk_tally.h"

#include <algorithm>
#include <utility>

namespace line {

TalkTally::Summary TalkTally::summary() const
{
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
