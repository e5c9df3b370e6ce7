// civ-sim itself behind a slow network link, as a controller hears it lose, cut and garble.
#include "simulator.h"
#include "window_fixture.h"

#include <QTcpSocket>
#include <QUrl>

TEST_F(SimulatorTest, LosesCutsAndFlipsAsAskedBehindASlowLink)
{
    const QUrl address(
        startSimulator({"--listen", "127.0.0.1:0", "--net-delay", "20-40", "--lose-every", "2",
                        "--cut-every", "3", "--flip-echo-bit"}));
    QTcpSocket line;
    line.connectToHost(address.host(), quint16(address.port()));
    ASSERT_TRUE(line.waitForConnected(kDeadlineMs)) << sim.readAllStandardError().toStdString();

    const QByteArray poll = frame(0x08, 0xEA, 0x03);
    const QByteArray echo = frame(0x09, 0xEA, 0x03);
    const QByteArray reply = frame(0xEA, 0x08, 0x03, {0x00, 0x40, 0x07, 0x14, 0x00});
    // Replies 2, 4 and 6 are lost; the third is cut short first.
    const QByteArray answers[] = {reply, {}, reply.first(7) + reply, {}, reply, {}};
    QByteArray expected, heard;
    for (const QByteArray& answer : answers) {
        line.write(poll);
        expected += echo + answer;
        while (heard.size() < expected.size() && line.waitForReadyRead(kDeadlineMs)) {
            heard += line.readAll();
        }
        ASSERT_EQ(heard.toHex(' '), expected.toHex(' '));
    }
}
