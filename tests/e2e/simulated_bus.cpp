#include "simulated_bus.h"

#include "platform/services.h"

#include <QDeadlineTimer>
#include <QTimer>

void LineActivity::wait(int ms)
{
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(ms);
    stirred_ = false;
    while (!stirred_ && wake.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
}

bool LineActivity::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::SockAct) {
        stirred_ = true;
    }
    return QObject::eventFilter(watched, event);
}

void SimulatedBus::SetUp()
{
    app().ourSerialPort = 0;
    ASSERT_TRUE(temp_.isValid());
    QCoreApplication::instance()->installEventFilter(&activity_);
}

void SimulatedBus::TearDown()
{
    QCoreApplication::instance()->removeEventFilter(&activity_);
    if (window) {
        EXPECT_EQ(sim.state(), QProcess::Running)
            << "civ-sim stopped: " << simOutput().toStdString();
    }
    window.reset();
    if (sim.state() != QProcess::NotRunning) {
        sim.terminate();
        if (!sim.waitForFinished(kDeadlineMs)) {
            sim.kill();
            sim.waitForFinished(kDeadlineMs);
        }
    }
}

void SimulatedBus::start(const QStringList& simArgs)
{
    sim.setProgram(QStringLiteral(CIV_SIM_PATH));
    sim.setArguments(simArgs);
    sim.start();
    ASSERT_TRUE(sim.waitForStarted(kDeadlineMs)) << sim.errorString().toStdString();
    const QDeadlineTimer deadline(kDeadlineMs);
    while (!sim.canReadLine() && sim.state() == QProcess::Running && !deadline.hasExpired()) {
        sim.waitForReadyRead(int(deadline.remainingTime()));
    }
    ASSERT_TRUE(sim.canReadLine()) << "no pty from civ-sim: " << simOutput().toStdString();
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();

    platform::Services services = platform::systemServices({path});
    services.newConnection = [this, open = services.newConnection] {
        return std::make_unique<TappedConnection>(open(), tap);
    };
    services.showMessage = [this](QWidget*, const QString& text, const QString&) {
        messages.append(text);
    };
    services.debugFileName = temp_.filePath(QStringLiteral("DEBUG.TXT"));
    window = std::make_unique<IcomWindow>(app(), services);
    for (QTimer* timer : window->findChildren<QTimer*>()) {
        timer->stop();
    }
    window->init();
    ASSERT_TRUE(window->Serial1->isOpen()) << path.toStdString();
    ASSERT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

void SimulatedBus::tick(int waitMs)
{
    window->Timer1_Action();
    // Lets the tick's write reach the line.
    QCoreApplication::processEvents();
    if (waitMs > 0) {
        activity_.wait(waitMs);
    }
}

bool SimulatedBus::tickUntil(const std::function<bool()>& done, int maxTicks, int waitMs)
{
    const QDeadlineTimer deadline(kDeadlineMs);
    for (int n = 0; n < maxTicks && !deadline.hasExpired(); ++n) {
        if (done()) {
            return true;
        }
        tick(waitMs);
    }
    return done();
}

void SimulatedBus::pollAndWait(int radio)
{
    const int frequencies = tap.count(radio, kOurAddress, 0x03);
    const int modes = tap.count(radio, kOurAddress, 0x04);
    window->ReqTimer_Action();
    ASSERT_TRUE(tickUntil([&] {
        return tap.count(radio, kOurAddress, 0x03) > frequencies &&
               tap.count(radio, kOurAddress, 0x04) > modes;
    })) << "no answer from radio "
        << radio << "; " << simOutput().toStdString();
}

QString SimulatedBus::simOutput()
{
    return QString::fromLocal8Bit(sim.readAllStandardError());
}
