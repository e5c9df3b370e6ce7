#include "platform/qt_serial_connection.h"
#include "pty_pair.h"
#include "serial/baud_rates.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

QByteArray everyByteValue()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    return all;
}

// Reads and takes failures until one turns up; counts them all.
int failuresUntilOne(platform::QtSerialConnection& connection, QString* reason)
{
    int failures = 0;
    for (QDeadlineTimer deadline(5000); failures == 0 && !deadline.hasExpired();) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(connection.readAvailable().isEmpty());
        if (const auto failure = connection.takeFailure()) {
            ++failures;
            EXPECT_EQ(failure->kind, platform::ConnectionFailure::Kind::Lost);
            *reason = failure->reason;
        }
    }
    return failures;
}

class PtyConnection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pty.ok()) << pty.error().toStdString(); }

    PtyPair pty;
    platform::QtSerialConnection connection;
};

TEST_F(PtyConnection, EveryRateAppliesWithOneStopBitAndNoFlowControl)
{
    for (const int rate : serial::kBaudRates) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(pty.presetForeignSettings());
        const auto before = pty.lineSettings();
        ASSERT_TRUE(before && before->outputSpeed == 110 && before->twoStopBits &&
                    before->xonXoff && before->rtsCts);
        ASSERT_TRUE(connection.open(pty.slavePath(), rate))
            << connection.errorString().toStdString();
        EXPECT_TRUE(connection.isOpen());
        const auto line = pty.lineSettings();
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->outputSpeed, unsigned(rate));
        EXPECT_EQ(line->inputSpeed, unsigned(rate));
        EXPECT_FALSE(line->twoStopBits);
        EXPECT_FALSE(line->xonXoff);
        EXPECT_FALSE(line->rtsCts);
        connection.close();
        EXPECT_FALSE(connection.isOpen());
    }
}

TEST_F(PtyConnection, OpeningAgainAtAnotherRateReplacesTheOpenPort)
{
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    ASSERT_TRUE(connection.open(pty.slavePath(), 28800)) << connection.errorString().toStdString();
    ASSERT_TRUE(pty.lineSettings().has_value());
    EXPECT_EQ(pty.lineSettings()->outputSpeed, 28800u);

    // The re-opened port still carries bytes both ways.
    ASSERT_TRUE(pty.write("\xFE\xFD"));
    ASSERT_TRUE(pty.waitUntilPending(2));
    EXPECT_EQ(connection.readAvailable(), QByteArray("\xFE\xFD"));
    connection.write("\xFE\xFE");
    EXPECT_EQ(pty.read(2), QByteArray("\xFE\xFE"));
}

TEST_F(PtyConnection, ReadsExactlyTheBytesOnTheLineInOrderWithoutWaiting)
{
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    EXPECT_TRUE(connection.readAvailable().isEmpty());

    // Every value must pass untouched: no CR/NL mapping, no XON/XOFF, no signal characters.
    const QByteArray all = everyByteValue();
    QByteArray received;
    for (qsizetype at = 0; at < all.size(); at += 37) {
        const QByteArray part = all.mid(at, 37);
        ASSERT_TRUE(pty.write(part));
        ASSERT_TRUE(pty.waitUntilPending(part.size()));
        const QByteArray chunk = connection.readAvailable();
        EXPECT_EQ(chunk, part);
        received.append(chunk);
    }
    EXPECT_EQ(received, all);
    EXPECT_TRUE(connection.readAvailable().isEmpty());

    // Several writes before one read arrive as one run, in order.
    ASSERT_TRUE(pty.write("\x01\x02"));
    ASSERT_TRUE(pty.write("\x03"));
    ASSERT_TRUE(pty.write("\x04\x05\x06"));
    ASSERT_TRUE(pty.waitUntilPending(6));
    EXPECT_EQ(connection.readAvailable(), QByteArray("\x01\x02\x03\x04\x05\x06"));
    EXPECT_TRUE(connection.readAvailable().isEmpty());
}

TEST_F(PtyConnection, WritesEveryByteValueUnchanged)
{
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    const QByteArray all = everyByteValue();
    connection.write(all);
    EXPECT_EQ(pty.read(all.size()), all);
    EXPECT_TRUE(pty.drainWritten().isEmpty());
}

TEST_F(PtyConnection, NothingIsReadOrWrittenOnceClosed)
{
    EXPECT_TRUE(connection.readAvailable().isEmpty());
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    connection.close();
    connection.close();
    ASSERT_TRUE(pty.write("\xFE"));
    ASSERT_TRUE(pty.waitUntilPending(1));
    EXPECT_TRUE(connection.readAvailable().isEmpty());
    connection.write("\xFE");
    QCoreApplication::processEvents();
    EXPECT_TRUE(pty.drainWritten().isEmpty());
    EXPECT_FALSE(connection.takeFailure().has_value());
}

TEST(QtSerialConnection, PathThatIsNoSerialPortFailsToOpenWithAReason)
{
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    for (const QString& path : {QStringLiteral("/dev/no-such-serial-port"), plainFile.fileName()}) {
        SCOPED_TRACE(path.toStdString());
        platform::QtSerialConnection connection;
        EXPECT_FALSE(connection.open(path, 9600));
        EXPECT_FALSE(connection.isOpen());
        EXPECT_FALSE(connection.errorString().isEmpty());
        // A refused open is answered by open() itself, not reported again later.
        QCoreApplication::processEvents();
        EXPECT_FALSE(connection.takeFailure().has_value());
        EXPECT_TRUE(connection.readAvailable().isEmpty());
    }
}

TEST_F(PtyConnection, VanishingPortIsOneFailureThenSilence)
{
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    ASSERT_TRUE(pty.write("\xFE"));
    ASSERT_TRUE(pty.waitUntilPending(1));
    EXPECT_EQ(connection.readAvailable(), QByteArray("\xFE"));

    pty.closeMaster();
    QString reason;
    EXPECT_EQ(failuresUntilOne(connection, &reason), 1);
    EXPECT_EQ(reason, QStringLiteral("the device was disconnected"));
    EXPECT_FALSE(connection.isOpen());

    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(connection.readAvailable().isEmpty());
        connection.write("\xFE\xFE");
        EXPECT_FALSE(connection.takeFailure().has_value()) << "after " << i;
    }
    EXPECT_FALSE(connection.isOpen());
}

TEST_F(PtyConnection, PortLostBeforeAnyReadClosesQuietly)
{
    // The operator picks another rate before the loss was noticed: closing a hung-up port
    // must neither recurse nor report a failure for a port the program already let go.
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    pty.closeMaster();
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    QCoreApplication::processEvents();
    EXPECT_FALSE(connection.takeFailure().has_value());
}

TEST_F(PtyConnection, FreshPortOpensAfterALoss)
{
    ASSERT_TRUE(connection.open(pty.slavePath(), 9600));
    pty.closeMaster();
    QString reason;
    ASSERT_EQ(failuresUntilOne(connection, &reason), 1);

    PtyPair fresh;
    ASSERT_TRUE(fresh.ok());
    ASSERT_TRUE(connection.open(fresh.slavePath(), 19200))
        << connection.errorString().toStdString();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(fresh.lineSettings()->outputSpeed, 19200u);
    ASSERT_TRUE(fresh.write("\xFE\xFE\xEA"));
    ASSERT_TRUE(fresh.waitUntilPending(3));
    EXPECT_EQ(connection.readAvailable(), QByteArray("\xFE\xFE\xEA"));
    connection.write("\xFD");
    EXPECT_EQ(fresh.read(1), QByteArray("\xFD"));
    EXPECT_FALSE(connection.takeFailure().has_value());
}

} // namespace
