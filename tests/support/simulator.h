// civ-sim on a line of its own, and the real window on that line.
#pragma once

#include "app/app.h"
#include "event_loop.h"
#include "platform/system_services.h"
#include "ui/icom_window.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// civ-sim on a line of its own, and the real window on that line. The test runs Timer1's
// ticks itself and waits on what arrives, never on the clock.
class SimulatorTest : public ::testing::Test {
protected:
    static constexpr int kDeadlineMs = 20'000;

    void TearDown() override
    {
        window.reset();
        sim.terminate();
        sim.waitForFinished(kDeadlineMs);
    }

    // Returns the line civ-sim opened, empty if it did not start.
    QString startSimulator(const QStringList& args)
    {
        sim.start(QStringLiteral(CIV_SIM_PATH), args);
        pumpUntil([&] { return sim.canReadLine() || sim.state() == QProcess::NotRunning; },
                  kDeadlineMs);
        return QString::fromLocal8Bit(sim.readLine()).trimmed();
    }

    // With a clock given, the window's timers keep running, on that clock.
    void openWindow(const QString& line, const std::function<std::int64_t()>& steadyMs = {})
    {
        auto* const app = static_cast<App*>(QCoreApplication::instance());
        platform::Services s = platform::systemServices({line});
        s.showMessage = [this](QWidget*, const QString& text, const QString&) {
            messages.append(text);
        };
        s.debugFileName = temp.filePath(QStringLiteral("DEBUG.TXT"));
        s.steadyMs = steadyMs ? steadyMs : s.steadyMs;
        window = std::make_unique<IcomWindow>(*app, s);
        for (QTimer* timer : steadyMs ? QList<QTimer*>() : window->findChildren<QTimer*>()) {
            timer->stop();
        }
        QObject::connect(&window->door().taps(), &line::Taps::received, window.get(),
                         [this](const QByteArray& chunk) { received += chunk; });
        window->init();
    }

    // Ticks until done() holds; false once the deadline has passed.
    bool tickUntil(const std::function<bool()>& done)
    {
        const QDeadlineTimer deadline(kDeadlineMs);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            fire("Timer1");
            // Wakes the wait when the line stays quiet.
            QTimer::singleShot(5, window.get(), [] {});
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    // A timer's action, as if it had fired.
    void fire(const char* timer) const
    {
        QMetaObject::invokeMethod(window->findChild<QTimer*>(QLatin1String(timer)), "timeout");
    }

    int heard(int to, int from, int cmd) const
    {
        const char head[] = {'\xFE', '\xFE', char(to), char(from), char(cmd)};
        return int(received.count(QByteArrayView(head, sizeof head)));
    }

    QProcess sim;
    QTemporaryDir temp;
    std::unique_ptr<IcomWindow> window;
    QByteArray received;
    QStringList messages;
};
