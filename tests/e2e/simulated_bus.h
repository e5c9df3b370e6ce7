#pragma once

#include "app/app.h"
#include "bus_tap.h"
#include "ui/icom_window.h"

#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Notices any descriptor becoming ready, so that a tick can wait for the line instead of a
// fixed time.
class LineActivity : public QObject {
public:
    // Returns once something stirred or after at most ms.
    void wait(int ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool stirred_ = false;
};

// The window on the line of a civ-sim bus, its timers stopped: the test runs every tick.
class SimulatedBus : public ::testing::Test {
protected:
    static constexpr int kOurAddress = 234;
    static constexpr int kDefaultRadio = 0x08;
    static constexpr int kAck = 0xFB;
    static constexpr int kNak = 0xFA;
    static constexpr int kDeadlineMs = 10'000;
    // A tick waits at most this long for the line to stir.
    static constexpr int kTickWaitMs = 3;
    static constexpr int kPatientTicks = 2000;

    void SetUp() override;
    void TearDown() override;

    static App& app() { return *static_cast<App*>(QCoreApplication::instance()); }

    // civ-sim with these options, then the window on its pty, opened by init().
    void start(const QStringList& simArgs);

    // One Timer1 tick; then the line gets up to waitMs to answer, returning early when it stirs.
    void tick(int waitMs = kTickWaitMs);
    // Ticks until done() holds; false if maxTicks or the deadline ran out first.
    bool tickUntil(const std::function<bool()>& done, int maxTicks = kPatientTicks,
                   int waitMs = kTickWaitMs);
    // Asks the radio for frequency and mode and ticks until both answers were read.
    void pollAndWait(int radio);

    template <class T> T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) const { return control<QLabel>(name)->text(); }
    QString simOutput();

    QProcess sim;
    BusTap tap;
    std::unique_ptr<IcomWindow> window;
    QStringList messages;

private:
    QTemporaryDir temp_;
    LineActivity activity_;
};
