// The window on a real tty (a pseudo-terminal): what the system really applies to the line,
// and a device that goes away under the program.
#include "platform/services.h"
#include "pty.h"
#include "window_fixture.h"

class RealLine : public WindowTest {
protected:
    void open(const QStringList& ports)
    {
        platform::Services s = platform::systemServices(ports);
        s.showMessage = [this](QWidget*, const QString& text, const QString&) {
            messages.append(text);
        };
        window = std::make_unique<IcomWindow>(app(), s);
        for (QTimer* timer : window->findChildren<QTimer*>()) {
            timer->stop();
        }
        window->init();
    }

    Pty pty;
};

TEST_F(RealLine, EveryRateRowIsAppliedWithOneStopBitAndNoFlowControl)
{
    pty.preset();
    open({pty.slavePath()});
    const unsigned rates[] = {300,  600,  1200,  1800,  2400,  3600,  4800,
                              7200, 9600, 14400, 19200, 28800, 38400, 57600};
    auto* baud = control<QComboBox>("BaudPopup");
    for (const int row : {13, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        SCOPED_TRACE(row);
        baud->setCurrentIndex(row);
        const Pty::Line line = pty.line();
        EXPECT_EQ(line.speed, rates[row]);
        EXPECT_FALSE(line.twoStopBits || line.softwareFlow || line.hardwareFlow);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RealLine, AVanishedDeviceIsToldOnceAndNeverAsAModalBox)
{
    open({pty.slavePath()});
    // The status bar shows a repeated notice only once; the log would take every repeat.
    static QStringList warned;
    warned.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtWarningMsg) {
                warned.append(text);
            }
        });
    pty.hangUp();
    for (int n = 0; n < 10; ++n) {
        window->Timer1_Action();
    }
    qInstallMessageHandler(previous);
    const QString told = statusMessage();
    EXPECT_TRUE(told.contains(pty.slavePath()));
    EXPECT_TRUE(told.contains(QStringLiteral("the device was disconnected")));
    EXPECT_EQ(warned.filter(QStringLiteral("Lost ")).size(), 1) << warned.join(u'\n').toStdString();
    EXPECT_TRUE(messages.isEmpty());
}
