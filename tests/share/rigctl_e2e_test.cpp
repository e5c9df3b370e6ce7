// Hamlib's own network client against the server, the real window and the simulated radio:
// every set is checked in what the radio itself says afterwards.
#include "share/share_window.h"
#include "simulator.h"

#include <QStandardPaths>
#include <QTcpSocket>

namespace {

class HamlibClient : public SimulatorTest {
protected:
    // One run of rigctl -m 2: open, the command, close. Its output, errors included.
    std::string rigctl(const QStringList& command)
    {
        QProcess client;
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(
            QStandardPaths::findExecutable(QStringLiteral("rigctl")),
            QStringList{QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"), where} +
                command);
        EXPECT_TRUE(tickUntil([&] { return client.state() == QProcess::NotRunning; }));
        return client.readAll().toStdString();
    }

    // Ticks until the radio puts this frame (hex as civ-sim logs it) on the line next.
    bool radioSaid(const char* hex)
    {
        const QByteArray frame = QByteArray("tx ") + hex;
        return tickUntil([&] {
            log += sim.readAllStandardError();
            const qsizetype at = log.indexOf(frame);
            if (at >= 0) {
                log.remove(0, at + frame.size());
            }
            return at >= 0;
        });
    }

    QString where;
    QByteArray log;
};

TEST_F(HamlibClient, OpensReadsAndSetsFrequencyModeAndPtt)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("rigctl")).isEmpty());
    const QString line = startSimulator({QStringLiteral("--log")});
    ASSERT_FALSE(line.isEmpty());
    openWindow(line);
    window->shareWindow().startNetworkServer({"127.0.0.1", 0});
    ASSERT_NE(window->shareWindow().networkServer(), nullptr);
    where = QString::fromStdString(window->shareWindow().networkServer()->where());

    // A client that stays keeps the server reading the radio.
    QTcpSocket stays;
    stays.connectToHost(QHostAddress::LocalHost, where.section(QLatin1Char(':'), -1).toUShort());
    EXPECT_TRUE(radioSaid("FE FE EA 08 1C 00 00 FD"));
    EXPECT_EQ(rigctl({QStringLiteral("f")}), "14074000\n");
    EXPECT_EQ(rigctl({QStringLiteral("m")}), "USB\n3000\n");
    EXPECT_EQ(rigctl({QStringLiteral("F"), QStringLiteral("7074000")}), "");
    EXPECT_EQ(rigctl({QStringLiteral("M"), QStringLiteral("CW"), QStringLiteral("500")}), "");
    window->ReqTimer_Action();
    EXPECT_TRUE(radioSaid("FE FE EA 08 03 00 40 07 07 00 FD"));
    EXPECT_TRUE(radioSaid("FE FE EA 08 04 03 02 FD"));
    EXPECT_EQ(rigctl({QStringLiteral("T"), QStringLiteral("1")}), "");
    EXPECT_TRUE(radioSaid("FE FE EA 08 1C 00 01 FD"));
    EXPECT_EQ(rigctl({QStringLiteral("t")}), "1\n");
    EXPECT_EQ(rigctl({QStringLiteral("T"), QStringLiteral("0")}), "");
    EXPECT_TRUE(radioSaid("FE FE EA 08 1C 00 00 FD"));
}

} // namespace
