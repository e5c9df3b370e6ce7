// Who else talked while our frames waited to leave.
#pragma once

#include <map>
#include <vector>

namespace line {

// Frames other stations put on the bus while ours waited, per sender, since the bus last
// went quiet.
class TalkTally {
public:
    struct Summary {
        std::vector<int> talkers; // the busiest first
        int frames = 0;
    };

    void heard(int from)
    {
        ++frames_[from];
        ++total_;
    }
    void clear()
    {
        frames_.clear();
        total_ = 0;
    }
    Summary summary() const;

private:
    std::map<int, int> frames_;
    int total_ = 0;
};

} // namespace line
