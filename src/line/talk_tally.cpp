#include "line/talk_tally.h"

#include <algorithm>
#include <map>

namespace line {

void TalkTally::forgetBefore(Millis keepFrom)
{
    while (!heard_.empty() && heard_.front().first < keepFrom) {
        heard_.pop_front();
    }
}

TalkTally::Summary TalkTally::since(Millis from) const
{
    std::map<int, int> frames;
    Summary out;
    for (const auto& [at, address] : heard_) {
        if (at >= from) {
            ++frames[address];
            ++out.frames;
        }
    }
    std::vector<std::pair<int, int>> ranked(frames.begin(), frames.end());
    // Stable: among equally busy talkers the lower address comes first.
    std::ranges::stable_sort(ranked,
                             [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [address, count] : ranked) {
        out.talkers.push_back(address);
    }
    return out;
}

} // namespace line
