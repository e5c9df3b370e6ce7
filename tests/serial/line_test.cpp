// The window on a real tty (a pseudo-terminal): what the system really applies to the line,
// and a device that goes away under the program.
#include "event_loop.h"
#include "platform/qt_serial_connection.h"
#include "platform/system_services.h"
#include "pty.h"
#include "window_fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class RealLine : public WindowTest {
protected:
    void open(const QStringList& ports)
    {
        platform::Services s = platform::systemServices(ports);
        s.showMessage = [this](QWidget*, const QString& text, const QString& detail) {
            messages.append(text);
            details.append(detail);
        };
        build(s).init();
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

// What the line cannot take at once still leaves, after the part it took and before anything
// written later.
TEST_F(RealLine, AWriteLargerThanTheLineTakesArrivesWholeAndInOrder)
{
    platform::QtSerialConnection line;
    ASSERT_TRUE(line.open(pty.slavePath(), 9600));
    const QByteArray burst(256 * 1024, 'Z');
    const QByteArray poll = QByteArrayLiteral("\xFE\xFE\x08\xE0\x03\xFD");
    line.write(burst);
    // Room again on the line before the event loop runs, so before Qt wrote what it holds.
    QByteArray heard;
    const int slave =
        ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(slave, 0);
    pollfd room{slave, POLLOUT, 0};
    const QDeadlineTimer deadline(10'000);
    while (::poll(&room, 1, 10) < 1 && !deadline.hasExpired()) {
        heard += pty.take();
    }
    ::close(slave);
    ASSERT_TRUE(room.revents & POLLOUT);
    line.write(poll);
    EXPECT_TRUE(pumpUntil([&] {
        heard += pty.take();
        return heard.size() >= burst.size() + poll.size();
    }));
    EXPECT_TRUE(heard == burst + poll);
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
        tick();
    }
    qInstallMessageHandler(previous);
    const QString told = statusMessage();
    EXPECT_TRUE(told.contains(pty.slavePath()));
    EXPECT_TRUE(told.contains(QStringLiteral("the device was disconnected")));
    EXPECT_EQ(warned.filter(QStringLiteral("Lost ")).size(), 1) << warned.join(u'\n').toStdString();
    EXPECT_TRUE(messages.isEmpty());
}

// A network port's failures, told as a serial port's are, without a bit rate.
TEST_F(RealLine, ARefusedConnectionAndAServerThatGoesAwayAreTold)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 number = server.serverPort();
    const QString location = QStringLiteral("tcp://127.0.0.1:%1").arg(number);
    server.close();
    open({location});
    ASSERT_TRUE(pumpUntil([this] {
        tick();
        return !messages.isEmpty();
    }));
    EXPECT_EQ(messages, QStringList({"Failure to open serial  port!!"}));
    EXPECT_TRUE(details.at(0).startsWith(location + QStringLiteral(": Connection refused")));
    EXPECT_TRUE(statusMessage().startsWith(
        QStringLiteral("Port %1 did not open: Connection refused").arg(location)));

    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, number));
    control<QComboBox>("BaudPopup")->setCurrentIndex(9);
    ASSERT_TRUE(pumpUntil([&server] { return server.hasPendingConnections(); }));
    delete server.nextPendingConnection();
    ASSERT_TRUE(pumpUntil([this] {
        tick();
        return statusMessage().startsWith(QStringLiteral("Lost "));
    }));
    EXPECT_EQ(statusMessage(), QStringLiteral("Lost %1: The remote host closed the connection. "
                                              "Choose the port again once it is back.")
                                   .arg(location));
    EXPECT_EQ(messages.size(), 1) << "a lost port is no modal box";
}
