// Find All Radios: the search's steps, its probes, and the addresses that answered.
#pragma once

#include <optional>

namespace discovery {

// The bus search as a step machine: one tick a second, two waiting ticks, then one probe per
// address 0..255; an address counts as found when a reply reached us before the next tick.
class RadioSearch {
public:
    static constexpr int kFirstState = -3;
    static constexpr int kLastAddress = 255;
    static constexpr int kTicksPerSearch = 259;

    struct Step {
        std::optional<int> found;    // address whose probe was answered
        std::optional<int> progress; // address now being probed (also when no probe is sent)
        bool probe = false;          // send a read-frequency request to *progress
        bool ended = false;          // the search is over; polling resumes
    };

    void start();
    Step tick();
    // Ends the search at once, as its last tick would: a reply to the last probe is found.
    Step stop();

    // A frame addressed to us arrived during a search. Our own frames heard back never count.
    void replySeen(int fromId, int ourId);

    bool running() const { return !pollRadios; }
    // Of kTicksPerSearch; 0 when no search runs.
    int ticksDone() const { return running() ? findRadiosState - kFirstState : 0; }

    std::optional<int> answered(int probed) const;

    int findRadiosState = 0;
    bool gotFreqReply = false;
    bool pollRadios = false;
};

} // namespace discovery
