// The radio goes away under the running program and comes back: the operator is told once, the
// program does not spin, and choosing the port again brings it back.
#include "simulated_bus.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QStatusBar>

TEST_F(SimulatedBus, ASimulatorKilledAndRestartedUnderTheSameNameIsTakenUpAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("civ-bus"));
    start({"--link", link});
    pollAndWait(kDefaultRadio);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));

    sim.kill();
    ASSERT_TRUE(sim.waitForFinished(kDeadlineMs));
    ASSERT_TRUE(tickUntil([this] { return !window->statusBar()->currentMessage().isEmpty(); }));
    const QString told = window->statusBar()->currentMessage();
    EXPECT_TRUE(told.contains(link)) << told.toStdString();
    const int readsAfterLoss = int(tap.read.size());
    window->ReqTimer_Action();
    tickUntil([] { return false; }, 40);
    EXPECT_EQ(window->statusBar()->currentMessage(), told) << "told once, and it stays";
    EXPECT_EQ(int(tap.read.size()), readsAfterLoss) << "nothing is read from a lost port";
    EXPECT_TRUE(messages.isEmpty());

    sim.setArguments({"--link", link, "--radio", "8,freq=7040000"});
    sim.start();
    ASSERT_TRUE(sim.waitForStarted(kDeadlineMs));
    const QDeadlineTimer deadline(kDeadlineMs);
    while (!sim.canReadLine() && !deadline.hasExpired()) {
        sim.waitForReadyRead(int(deadline.remainingTime()));
    }
    ASSERT_EQ(QString::fromLocal8Bit(sim.readLine()).trimmed(), link);

    // The operator chooses the port again.
    control<QComboBox>("BaudPopup")->setCurrentIndex(9);
    control<QComboBox>("BaudPopup")->setCurrentIndex(8);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    pollAndWait(kDefaultRadio);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7040"));
}
