// The paint pace of the queue status line and the data display, slower than the ticks.
#pragma once

#include "civ/transmit_queue.h"
#include "serial/queue_status.h"

#include <QString>

class QLabel;

namespace ui {

// When the window's busiest parts paint. The queue status line's text is set at every tick,
// since its countdown moves at every tick, but painted about once a second and only when it
// changed; the data display, while bytes keep arriving, twice as often. Each paint costs the
// program more than several ticks of work.
class PaintCadence {
public:
    // Twice the pacing cycle of an empty ring (a release, then the countdown): an idle queue's
    // countdown is then seen at the same point of its cycle, unchanged, and not painted again.
    static constexpr int kTicksPerStatusPaint = 2 * (civ::TransmitQueue::kDelayAfterRelease + 1);
    static constexpr int kTicksPerDataPaint = kTicksPerStatusPaint / 2;

    // Readies the status line for a text that changes at every tick.
    static void prepareStatusLine(QLabel& line);

    void tick() { ticks_ = (ticks_ + 1) % kTicksPerStatusPaint; }
    bool dataPaintTick() const { return ticks_ % kTicksPerDataPaint == 0; }
    // The ring's state, current in the label, painted only on a painting tick.
    void showStatus(QLabel& line, const civ::TransmitQueue& ring);

private:
    int ticks_ = 0;
    serial::QueueStatusText text_;
    QString painted_;
};

} // namespace ui
