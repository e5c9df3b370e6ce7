#include "app/app.h"
#include "platform/services.h"
#include "pty_pair.h"
#include "ui/icom_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

const QString kOpenFailure = QStringLiteral("Failure to open serial  port!!");
const QByteArray kReadFrequency = QByteArrayLiteral("\xFE\xFE\x08\xEA\x03\xFD");
const QByteArray kReadMode = QByteArrayLiteral("\xFE\xFE\x08\xEA\x04\xFD");
const QByteArray kFrequencyReply =
    QByteArrayLiteral("\xFE\xFE\xEA\x08\x03\x00\x40\x07\x14\x00\xFD");

// The real window on real ports, its timers stopped: the test runs every tick itself.
class PtyWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        app().ourSerialPort = 0;
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        ASSERT_TRUE(temp.isValid());
    }

    static App& app() { return *static_cast<App*>(QCoreApplication::instance()); }

    IcomWindow& open(const QStringList& ports)
    {
        platform::Services services = platform::systemServices(ports);
        services.showMessage = [this](QWidget*, const QString& text, const QString&) {
            messages.append(text);
        };
        services.debugFileName = temp.filePath(QStringLiteral("DEBUG.TXT"));
        window = std::make_unique<IcomWindow>(app(), services);
        for (QTimer* timer : window->findChildren<QTimer*>()) {
            timer->stop();
        }
        QObject::connect(window->statusBar(), &QStatusBar::messageChanged,
                         [this](const QString& text) {
                             if (!text.isEmpty()) {
                                 statusMessages.append(text);
                             }
                         });
        window->init();
        return *window;
    }

    template <class T> T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // One tick; the event loop then runs once so the port's buffered writes reach the line.
    // Returns what the window put on the line during the tick.
    QByteArray tick(PtyPair& line)
    {
        window->Timer1_Action();
        QCoreApplication::processEvents();
        return line.drainWritten();
    }

    // Bytes from the radio, in the port before the next tick reads it.
    void radioSends(const QByteArray& bytes)
    {
        ASSERT_TRUE(pty.write(bytes));
        ASSERT_TRUE(pty.waitUntilPending(bytes.size()));
    }

    // The tick, counted from 1, on which the window next writes, and what it wrote.
    std::pair<int, QByteArray> nextWrite(PtyPair& line, int maxTicks = 30)
    {
        for (int n = 1; n <= maxTicks; ++n) {
            const QByteArray out = tick(line);
            if (!out.isEmpty()) {
                return {n, out};
            }
        }
        return {0, {}};
    }

    PtyPair pty;
    QTemporaryDir temp;
    std::unique_ptr<IcomWindow> window;
    QStringList messages;
    QStringList statusMessages;
};

TEST_F(PtyWindow, InitLeavesTheLineAt9600OneStopBitNoFlowControl)
{
    ASSERT_TRUE(pty.presetForeignSettings());
    open({pty.slavePath()});
    const auto line = pty.lineSettings();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->outputSpeed, 9600u);
    EXPECT_EQ(line->inputSpeed, 9600u);
    EXPECT_FALSE(line->twoStopBits);
    EXPECT_FALSE(line->xonXoff);
    EXPECT_FALSE(line->rtsCts);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PtyWindow, PollLeavesOnTheNextTickAndTheSecondFrameElevenTicksLaterOnAQuietBus)
{
    open({pty.slavePath()});
    window->ReqTimer_Action();
    EXPECT_EQ(tick(pty), kReadFrequency);
    for (int n = 1; n <= 10; ++n) {
        EXPECT_TRUE(tick(pty).isEmpty()) << "quiet tick " << n;
    }
    EXPECT_EQ(tick(pty), kReadMode);
    EXPECT_EQ(nextWrite(pty, 15).first, 0);
}

TEST_F(PtyWindow, ReplyIsDecodedAndTheNextFrameFollowsOnTheThirdTickAfterTheFrameEnd)
{
    open({pty.slavePath()});
    window->ReqTimer_Action();
    ASSERT_EQ(tick(pty), kReadFrequency);

    // The bus echoes what was sent, then the radio answers 14.074 MHz; both are read in the
    // tick's first receive pass, so that tick is the first of the three.
    radioSends(kReadFrequency + kFrequencyReply);
    const auto [ticks, frame] = nextWrite(pty);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frame, kReadMode);
    EXPECT_EQ(control<QLabel>("FreqDisplay")->text(), QStringLiteral("14074"));
}

TEST_F(PtyWindow, EveryFrameEndOnTheBusRestartsTheWait)
{
    open({pty.slavePath()});
    window->ReqTimer_Action();
    ASSERT_EQ(tick(pty), kReadFrequency);

    radioSends(kFrequencyReply);
    EXPECT_TRUE(tick(pty).isEmpty());
    // Another station's frame, not for us: the wait starts over from here.
    radioSends(QByteArrayLiteral("\xFE\xFE\x00\x5C\x00\x00\x50\x07\x14\x00\xFD"));
    const auto [ticks, frame] = nextWrite(pty);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(frame, kReadMode);
    EXPECT_EQ(control<QLabel>("FreqDisplay")->text(), QStringLiteral("14074"));
}

TEST_F(PtyWindow, ReplyTricklingInOverManyTicksIsDecodedAndShownAsHex)
{
    open({pty.slavePath()});
    control<QCheckBox>("ShowDataCheck")->setChecked(true);
    control<QCheckBox>("DebugCheckBox")->setChecked(true);

    for (qsizetype at = 0; at < kFrequencyReply.size();) {
        const qsizetype n = at % 3 == 0 ? 1 : 2;
        EXPECT_EQ(control<QLabel>("FreqDisplay")->text(), QStringLiteral("-")) << "at " << at;
        radioSends(kFrequencyReply.mid(at, n));
        tick(pty);
        at += n;
    }
    EXPECT_EQ(control<QLabel>("FreqDisplay")->text(), QStringLiteral("14074"));

    const QString hex = QStringLiteral("FE_FE_EA_08_03_00_40_07_14_00_FD_");
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText(), hex);
    QFile debug(temp.filePath(QStringLiteral("DEBUG.TXT")));
    ASSERT_TRUE(debug.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(debug.readAll()), hex);
}

TEST_F(PtyWindow, EveryRateRowReopensTheLineAtItsRate)
{
    open({pty.slavePath()});
    const unsigned rates[] = {300,  600,  1200,  1800,  2400,  3600,  4800,
                              7200, 9600, 14400, 19200, 28800, 38400, 57600};
    auto* baud = control<QComboBox>("BaudPopup");
    for (const int row : {13, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12}) {
        SCOPED_TRACE(row);
        baud->setCurrentIndex(row);
        const auto line = pty.lineSettings();
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->outputSpeed, rates[row]);
        EXPECT_EQ(line->inputSpeed, rates[row]);
    }
    EXPECT_TRUE(messages.isEmpty());

    // The re-opened line still carries the poll.
    window->ReqTimer_Action();
    EXPECT_EQ(tick(pty), kReadFrequency);
}

TEST_F(PtyWindow, PortThatCannotOpenIsReportedOncePerAttempt)
{
    open({pty.slavePath(), QStringLiteral("/dev/icom-interface-missing-port")});
    ASSERT_TRUE(messages.isEmpty());
    auto* ports = control<QComboBox>("SerialPopup");

    ports->setCurrentIndex(1);
    EXPECT_EQ(messages, QStringList{kOpenFailure});
    for (int n = 0; n < 5; ++n) {
        tick(pty);
    }
    EXPECT_EQ(messages.size(), 1);

    control<QComboBox>("BaudPopup")->setCurrentIndex(13);
    EXPECT_EQ(messages.size(), 2);

    ports->setCurrentIndex(0);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(pty.lineSettings()->outputSpeed, 57600u);

    ports->setCurrentIndex(1);
    EXPECT_EQ(messages, QStringList(3, kOpenFailure));
    EXPECT_TRUE(statusMessages.isEmpty());
}

TEST_F(PtyWindow, VanishedPortIsOneStatusMessageAndAFreshPortOpens)
{
    PtyPair fresh;
    ASSERT_TRUE(fresh.ok());
    open({pty.slavePath(), fresh.slavePath()});
    window->ReqTimer_Action();
    ASSERT_EQ(tick(pty), kReadFrequency);

    pty.closeMaster();
    window->Timer1_Action();
    ASSERT_EQ(statusMessages.size(), 1);
    const QString report = window->statusBar()->currentMessage();
    EXPECT_EQ(report, statusMessages[0]);
    EXPECT_TRUE(report.contains(pty.slavePath())) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("the device was disconnected")))
        << report.toStdString();

    // Cleared after every tick, so that a repeat of the same text would show up again.
    for (int n = 0; n < 20; ++n) {
        window->statusBar()->clearMessage();
        window->Timer1_Action();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(statusMessages.size(), 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(window->Serial1->isOpen());

    // The queue keeps counting down with no port under it.
    auto* status = control<QLabel>("StaticBuf");
    window->ReqTimer_Action();
    window->Timer1_Action();
    const QString before = status->text();
    window->Timer1_Action();
    EXPECT_NE(status->text(), before);
    EXPECT_EQ(statusMessages.size(), 1);

    control<QComboBox>("SerialPopup")->setCurrentIndex(1);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(fresh.lineSettings()->outputSpeed, 9600u);
    // What was still queued goes out on the new port, then the next poll.
    EXPECT_EQ(nextWrite(fresh).second, kReadMode);
    window->ReqTimer_Action();
    EXPECT_EQ(nextWrite(fresh).second, kReadFrequency);
    EXPECT_EQ(statusMessages.size(), 1);
}

} // namespace
