// The window on a network port served by the simulator, as an operator at a remote station
// would use it.
#include "event_loop.h"
#include "window_fixture.h"

#include <QProcess>
#include <QStatusBar>
#include <functional>

namespace {

class TcpWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        sim.start(QStringLiteral(CIV_SIM_PATH), {"--listen", "127.0.0.1:0"});
        ASSERT_TRUE(sim.waitForStarted());
        ASSERT_TRUE(pumpUntil([this] { return sim.canReadLine(); }));
        address = QString::fromLatin1(sim.readLine()).trimmed();
        ASSERT_TRUE(address.startsWith(QLatin1String("tcp://127.0.0.1:"))) << address.toStdString();

        platform::Services s = platform::systemServices({address});
        s.showMessage = [this](QWidget*, const QString& text, const QString&) {
            messages.append(text);
        };
        window = std::make_unique<IcomWindow>(app(), s);
        for (QTimer* timer : window->findChildren<QTimer*>()) {
            timer->stop();
        }
        window->init();
    }

    void TearDown() override
    {
        window.reset();
        sim.kill();
        sim.waitForFinished();
    }

    // Timer1 ticks, with the network given time between them, until done() holds.
    bool tickUntil(const std::function<bool()>& done, int maxTicks = 200)
    {
        for (int i = 0; i < maxTicks && !done(); ++i) {
            window->Timer1_Action();
            pumpUntil([] { return false; }, 5);
        }
        return done();
    }

    QProcess sim;
    QString address;
};

} // namespace

TEST_F(TcpWindowTest, PollSetAndSearchOverTheNetwork)
{
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentText(), address);
    window->ReqTimer_Action();
    ASSERT_TRUE(tickUntil([this] { return text("ModeDisplay") == QLatin1String("USB"); }));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("WIDE"));

    control<QLineEdit>("EditFreq")->setText(QStringLiteral("7040"));
    window->SetFreq1_Action();
    ASSERT_TRUE(tickUntil([this] { return window->transmitQueue.queued() == 0; }));
    window->ReqTimer_Action();
    ASSERT_TRUE(tickUntil([this] { return text("FreqDisplay") == QLatin1String("7040"); }));

    // The first probes of a search, up to the radio at 8.
    window->FindRadiosButton_Action();
    for (int step = 1; step <= 12; ++step) {
        window->FindRadiosTimer_Action();
        tickUntil([this] { return window->transmitQueue.queued() == 0; });
        tickUntil([] { return false; }, 6);
    }
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText(),
              QStringLiteral(" Found radio at address 8\n"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TcpWindowTest, AServerGoingAwayIsToldOnceAndTheWindowKeepsWorking)
{
    window->ReqTimer_Action();
    ASSERT_TRUE(tickUntil([this] { return text("FreqDisplay") == QLatin1String("14074"); }));

    sim.kill();
    ASSERT_TRUE(sim.waitForFinished());
    ASSERT_TRUE(tickUntil([this] { return !window->statusBar()->currentMessage().isEmpty(); }));
    const QString told = window->statusBar()->currentMessage();
    EXPECT_TRUE(told.contains(address)) << told.toStdString();
    EXPECT_TRUE(messages.isEmpty()) << "a lost port is not a failed open";

    window->ReqTimer_Action();
    EXPECT_FALSE(tickUntil([] { return false; }, 30));
    EXPECT_EQ(window->statusBar()->currentMessage(), told);
    const civ::TransmitQueue& queue = window->transmitQueue;
    EXPECT_EQ(queue.queued(), 0) << "the pump keeps releasing into the closed port";
    EXPECT_EQ(text("StaticBuf"), QStringLiteral("%1 %2 0 %3")
                                     .arg(queue.serialBufHead)
                                     .arg(queue.serialBufTail)
                                     .arg(queue.sendDelay));

    // Choosing the port again while the server is still away is a failed open.
    control<QComboBox>("BaudPopup")->setCurrentIndex(9);
    ASSERT_TRUE(tickUntil([this] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages, QStringList({"Failure to open serial  port!!"}));
}
