// The cost of each tick of the window's pump in CPU time, for the harness's report.
#pragma once

#include <QObject>
#include <ctime>

class QTimer;

namespace bench {

// The CPU time the program's thread spends in each tick of a timer: from its timer event
// to the end of the slots connected before this one, on the thread's own clock.
class TickCost : public QObject {
public:
    explicit TickCost(QTimer& timer);

    // Forgets the ticks so far: the warm-up's.
    void restart();
    double meanMicroseconds() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    timespec started_{};
    long long nanoseconds_ = 0;
    long long ticks_ = 0;
};

} // namespace bench
