// Hamlib's own clients through the network server on simulated radios: the other VFO, split,
// data modes, and a radio that goes silent.
#include "share/sharing.h"
#include "simulator.h"

#include <QTcpSocket>
#include <csignal>

namespace {

class HamlibClients : public SimulatorTest {
protected:
    // The server on the window's line to civ-sim's radio 8; its address for rigctl's -r.
    QString serve(const QStringList& radio)
    {
        const QString line = startSimulator(QStringList{"--log", "--radio"} + radio);
        EXPECT_FALSE(line.isEmpty());
        openWindow(line);
        sharing = std::make_unique<share::Sharing>(window->door());
        EXPECT_EQ(sharing->startNetworkServer({"127.0.0.1", 0}), "");
        fire("ReqTimer");
        return QString::fromStdString(sharing->networkServer()->where());
    }

    // rigctl -m 2's output, once it has ended.
    std::string rigctl(const QString& where, const QStringList& commands)
    {
        QProcess client;
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(QStringLiteral(RIGCTL_PATH), QStringList{"-m", "2", "-r", where} + commands);
        EXPECT_TRUE(tickUntil([&] { return client.state() == QProcess::NotRunning; }));
        return client.readAll().toStdString();
    }

    // What the server answers to text, up to an answer that ends with last.
    std::string ask(const QString& where, const std::string& text, const std::string& last)
    {
        QTcpSocket socket;
        std::string out;
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [&] { out += socket.readAll().toStdString(); });
        socket.connectToHost(QHostAddress::LocalHost, where.section(':', -1).toUShort());
        socket.write(QByteArray::fromStdString(text));
        EXPECT_TRUE(tickUntil([&] { return out.ends_with(last); })) << text << out;
        return out;
    }

    // The radio's log has these requests, in this order, each answered OK.
    bool radioTook(const std::vector<const char*>& requests)
    {
        log += sim.readAllStandardError();
        qsizetype at = 0;
        for (const char* request : requests) {
            at = log.indexOf(QByteArray("rx FE FE 08 EA ") + request, at);
            if (at < 0 || log.indexOf("tx FE FE EA 08 FB FD", at) < 0) {
                ADD_FAILURE() << request << " not taken in\n" << log.toStdString();
                return false;
            }
            ++at;
        }
        return true;
    }

    std::unique_ptr<share::Sharing> sharing;
    QByteArray log;
};

TEST_F(HamlibClients, RigctlUsesTheOtherVfoSplitAndDataModes)
{
    const QString where = serve({"0x08"});
    EXPECT_EQ(
        rigctl(where, {"V",      "VFOB", "F",        "7074000", "f", "V",      "VFOA", "S", "1",
                       "VFOB",   "I",    "14075000", "i",       "X", "PKTUSB", "-1",   "x", "M",
                       "PKTLSB", "-1",   "m",        "s",       "S", "0",      "VFOA", "s"}),
        "7074000\n14075000\nPKTUSB\n3000\nPKTLSB\n3000\n1\nVFOB\n0\nVFOA\n");
    EXPECT_TRUE(radioTook({"07 01", "05 00 40 07 07 00", "07 00", "0F 01", "25 01 00 50 07 14 00",
                           "26 01 01 01 01", "06 00", "1A 06 01 01", "0F 00"}));
}

TEST_F(HamlibClients, WhatAnOlderRadioRefusesIsRejectedAndNoLongerClaimed)
{
    const QString where = serve({"0x08,vfo=no,split=no,data=no,vfocmd=no"});
    EXPECT_EQ(
        ask(where, "V VFOB\nS 1 VFOB\nI 14075000\nM PKTUSB -1\nS 0 VFOA\nf\n", "\n14074000\n"),
        "RPRT -9\nRPRT -9\nRPRT -9\nRPRT -9\nRPRT 0\n14074000\n");
    const std::string after = ask(where, "+\\dump_caps\n", "RPRT 0\n");
    EXPECT_NE(after.find("Can set Split VFO:\tN"), std::string::npos);
    EXPECT_NE(after.find("VFO list: VFOA \n"), std::string::npos);
    EXPECT_EQ(after.find("PKT"), std::string::npos);
    EXPECT_NE(ask(where, "\\dump_state\n", "done\n").find(" 0x1ff -1 -1 0x1 "), std::string::npos);
}

TEST_F(HamlibClients, ARadioSwitchedOffIsNeverAnsweredForWithOldValues)
{
    const QString where = serve({"0x08"});
    // CQRLOG's poll.
    EXPECT_EQ(ask(where, "+f +m +v\n", "VFO: VFOA\nRPRT 0\n"),
              "get_freq:\nFrequency: 14074000\nRPRT 0\nget_mode:\nMode: USB\nPassband: 3000\n"
              "RPRT 0\nget_vfo:\nVFO: VFOA\nRPRT 0\n");
    ::kill(static_cast<pid_t>(sim.processId()), SIGUSR1);
    // Values the radio confirmed a moment ago may still be given; then only its silence.
    std::string read;
    EXPECT_TRUE(tickUntil([&] { return (read = ask(where, "f\n", "\n")) != "14074000\n"; }));
    EXPECT_EQ(read, "RPRT -5\n");
    EXPECT_EQ(ask(where, "F 7074000\nt\n", "RPRT -5\nRPRT -5\n"), "RPRT -5\nRPRT -5\n");
    const std::string opened = rigctl(where, {"f"});
    EXPECT_EQ(opened.find("14074000"), std::string::npos) << opened;
    EXPECT_NE(opened.find("error"), std::string::npos) << opened;
}

TEST_F(HamlibClients, WsjtxsCallsThroughLibhamlibSucceedWithSplitAndDataMode)
{
    const QString where = serve({"0x08"});
    QProcess sequence;
    sequence.start(QStringLiteral(WSJTX_SEQUENCE_PATH), {where});
    ASSERT_TRUE(tickUntil([&] { return sequence.state() == QProcess::NotRunning; }));
    EXPECT_EQ(sequence.exitCode(), 0);
    EXPECT_EQ(sequence.readAll().toStdString(), "14075500\n");
    EXPECT_TRUE(radioTook({"0F 01", "25 01 00 55 07 14 00", "1A 06 01 01", "26 01 01 01",
                           "1C 00 01", "1C 00 00", "0F 00"}));
}

} // namespace
