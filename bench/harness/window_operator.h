// The harness's operator at the keyboard, and what it records of the window's ticks.
#pragma once

#include "reply_latency.h"
#include "wall_clock.h"

#include <QString>
#include <vector>

class IcomWindow;
class QLabel;

namespace bench {

// Works the window through its controls, as someone at the keyboard would, and watches the
// frequency display.
class WindowOperator {
public:
    explicit WindowOperator(IcomWindow& window);

    // False when the rate pop-up has no such row.
    bool chooseBaud(int rate);
    void tick(const char* checkBoxName);
    // Types kHz into the frequency field and presses Set.
    void typeFrequency(const QString& khz);
    void stopPolling();
    void openBusMonitor();
    // Hands the monitor a poll and a reply per two rows, as the port would, and brings them
    // into its table. Returns the rows the table then holds.
    int fillBusMonitor(int rows);
    // Records the end of every tick and each change of the frequency display, for the reply
    // latency; only then, since it costs the measured process. Room for count ticks is taken
    // up front, so the record does not show as memory growth.
    void watchTicks(std::size_t count);

    int ourAddress() const;
    const std::vector<DisplayChange>& displayChanges() const { return changes_; }
    // The end of every tick, on civ-sim's time-of-day scale.
    std::vector<double> tickEnds() const;

private:
    template <class T> T& control(const char* name) const;
    void afterTick();

    IcomWindow& window_;
    QLabel* display_ = nullptr;
    QString shown_;
    std::vector<DisplayChange> changes_;
    // Raw clock readings: a time of day at every tick would cost the process more than its
    // own idle work.
    std::vector<WallTime> tickEnds_;
};

} // namespace bench
