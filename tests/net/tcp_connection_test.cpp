#include "event_loop.h"
#include "platform/port_connection.h"
#include "platform/tcp_connection.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using platform::ConnectionFailure;

namespace {

class TcpConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.listen(QHostAddress::LocalHost)); }

    QString location() const
    {
        return QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());
    }

    QTcpSocket* accept()
    {
        pumpUntil([this] { return server.hasPendingConnections(); });
        return server.nextPendingConnection();
    }

    QTcpServer server;
    platform::PortConnection connection;
};

} // namespace

TEST_F(TcpConnectionTest, CarriesBytesBothWays)
{
    ASSERT_TRUE(connection.open(location(), 9600));
    QTcpSocket* peer = accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return connection.isOpen(); }));

    peer->write(QByteArray("\xFE\xFE\xEA\x08", 4));
    peer->write(QByteArray("\x03\xFD", 2));
    QByteArray received;
    ASSERT_TRUE(pumpUntil([&] {
        received += connection.readAvailable();
        return received.size() >= 6;
    }));
    EXPECT_EQ(received, QByteArray("\xFE\xFE\xEA\x08\x03\xFD", 6));

    pumpUntil([&] { return connection.readAvailable().isEmpty(); });
    connection.write(QByteArray("\xFE\xFE\x08\xEA\x03\xFD", 6));
    QByteArray sent;
    ASSERT_TRUE(pumpUntil([&] {
        sent += peer->readAll();
        return sent.size() >= 6;
    }));
    EXPECT_EQ(sent, QByteArray("\xFE\xFE\x08\xEA\x03\xFD", 6));
    EXPECT_FALSE(connection.takeFailure());
}

TEST_F(TcpConnectionTest, ARefusedServerIsAFailedOpen)
{
    const QString refused = location();
    server.close();
    // Opening never waits for the network; the refusal comes later.
    ASSERT_TRUE(connection.open(refused, 9600));
    std::optional<ConnectionFailure> failure;
    ASSERT_TRUE(pumpUntil([&] { return (failure = connection.takeFailure()).has_value(); }));
    EXPECT_EQ(failure->kind, ConnectionFailure::Kind::OpenFailed);
    EXPECT_FALSE(failure->reason.isEmpty());
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(connection.takeFailure());
}

TEST_F(TcpConnectionTest, AServerThatGoesAwayIsALostPortReportedOnce)
{
    ASSERT_TRUE(connection.open(location(), 9600));
    QTcpSocket* peer = accept();
    ASSERT_TRUE(pumpUntil(
        [&] { return connection.isOpen() && peer->state() == QAbstractSocket::ConnectedState; }));
    pumpUntil([&] { return false; }, 50);
    peer->close();

    std::optional<ConnectionFailure> failure;
    ASSERT_TRUE(pumpUntil([&] {
        connection.readAvailable();
        return (failure = connection.takeFailure()).has_value();
    }));
    EXPECT_EQ(failure->kind, ConnectionFailure::Kind::Lost);
    EXPECT_FALSE(connection.isOpen());
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(connection.readAvailable().isEmpty());
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(connection.takeFailure());
}

TEST_F(TcpConnectionTest, MalformedAddressesFailAtOnce)
{
    for (const char* bad : {"tcp://127.0.0.1", "tcp://:4000", "tcp://"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(connection.open(QString::fromLatin1(bad), 9600));
        EXPECT_FALSE(connection.errorString().isEmpty());
        EXPECT_FALSE(connection.isOpen());
    }
}
