// The tests' way to wait for the program: its event loop pumped against a deadline.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

// Pumps the event loop until done() holds or the deadline passes; returns done().
template <class Predicate> bool pumpUntil(Predicate done, int deadlineMs = 10000)
{
    for (const QDeadlineTimer deadline(deadlineMs); !done();) {
        if (deadline.hasExpired()) {
            return done();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
