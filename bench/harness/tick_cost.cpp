// Each tick's CPU time on the thread's own clock, from the timer event to the last slot.
#include "tick_cost.h"

#include <QEvent>
#include <QTimer>

namespace bench {

namespace {

timespec threadClock()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now;
}

} // namespace

TickCost::TickCost(QTimer& timer)
{
    timer.installEventFilter(this);
    QObject::connect(&timer, &QTimer::timeout, this, [this] {
        const timespec now = threadClock();
        nanoseconds_ +=
            (now.tv_sec - started_.tv_sec) * 1'000'000'000LL + (now.tv_nsec - started_.tv_nsec);
        ++ticks_;
    });
}

void TickCost::restart()
{
    nanoseconds_ = 0;
    ticks_ = 0;
}

double TickCost::meanMicroseconds() const
{
    return ticks_ == 0 ? 0 : static_cast<double>(nanoseconds_) / 1000.0 / ticks_;
}

bool TickCost::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Timer) {
        started_ = threadClock();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace bench
