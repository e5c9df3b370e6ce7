#pragma once

#include "line/line_types.h"

#include <deque>
#include <utility>
#include <vector>

namespace line {

// Frames other stations put on the bus: when, and who sent them.
class TalkTally {
public:
    struct Summary {
        std::vector<int> talkers; // the busiest first
        int frames = 0;
    };

    void heard(int from, Millis at) { heard_.emplace_back(at, from); }
    // Forgets what was heard before keepFrom.
    void forgetBefore(Millis keepFrom);
    Summary since(Millis from) const;

private:
    std::deque<std::pair<Millis, int>> heard_;
};

} // namespace line
