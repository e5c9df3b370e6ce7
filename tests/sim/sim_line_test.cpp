// civ-sim itself on its network listener, behind a slow link, losing, cutting and garbling as
// asked: the bytes a controller gets back.
#include <QProcess>
#include <QTcpSocket>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

constexpr int kDeadlineMs = 10'000;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

TEST(SimulatedBus, LosesCutsAndFlipsAsAskedBehindASlowLink)
{
    QProcess sim;
    sim.start(QStringLiteral(CIV_SIM_PATH),
              {"--listen", "127.0.0.1:0", "--net-delay", "20-40", "--lose-every", "2",
               "--cut-every", "3", "--flip-echo-bit"});
    ASSERT_TRUE(sim.waitForReadyRead(kDeadlineMs)) << sim.readAllStandardError().toStdString();
    const QUrl address(QString::fromLocal8Bit(sim.readLine()).trimmed());
    QTcpSocket line;
    line.connectToHost(address.host(), quint16(address.port()));
    ASSERT_TRUE(line.waitForConnected(kDeadlineMs));

    const QByteArray poll = bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD});
    const QByteArray echo = bytes({0xFE, 0xFE, 0x09, 0xEA, 0x03, 0xFD});
    const QByteArray reply =
        bytes({0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
    // Replies 2, 4 and 6 are lost; the third is cut short first.
    const QByteArray answers[] = {reply, {}, reply.first(7) + reply, {}, reply, {}};
    QByteArray expected;
    QByteArray heard;
    for (const QByteArray& answer : answers) {
        line.write(poll);
        expected += echo + answer;
        while (heard.size() < expected.size() && line.waitForReadyRead(kDeadlineMs)) {
            heard += line.readAll();
        }
        ASSERT_EQ(heard.toHex(' '), expected.toHex(' '));
    }
    sim.terminate();
    sim.waitForFinished(kDeadlineMs);
}

} // namespace
