// The tally of other stations' frames, for telling who keeps the bus busy.
#pragma once

#include "line/line_types.h"

#include <deque>
#include <map>
#include <optional>
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
    // While our frames wait, since() is asked at every tick from the same time: it goes on
    // counting from its last answer instead of counting everything again.
    mutable std::optional<Millis> countedFrom_;
    mutable std::size_t counted_ = 0; // entries of heard_ already looked at
    mutable std::map<int, int> frames_;
    mutable int total_ = 0;
};

} // namespace line
