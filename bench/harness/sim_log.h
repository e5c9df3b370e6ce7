// civ-sim's log read back: its frames, and what it saw of the controller.
#pragma once

#include <QString>
#include <vector>

namespace bench {

// One frame from civ-sim's --log: "HH:MM:SS.mmm rx|tx FE FE ... FD".
struct SimFrame {
    double ms = 0;     // time of day
    bool sent = false; // tx: civ-sim put it on the line; rx: civ-sim received it
    int to = 0;
    int from = 0;
    int cmd = 0;
    std::vector<int> data;
};

// Frames only: jam codes and noise bursts in the log are skipped.
std::vector<SimFrame> readSimLog(const QString& path);

// What civ-sim saw of the controller at address `us`.
struct BusTally {
    int pollsReceived = 0; // 03/04 requests from us
    int pollReplies = 0;   // 03/04 replies to us
    int setsReceived = 0;  // 05/06 from us
    int setsAcked = 0;     // FB to us
    int setsRefused = 0;   // FA to us
};

BusTally tally(const std::vector<SimFrame>& frames, int us);

} // namespace bench
