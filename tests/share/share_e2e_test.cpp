// Hamlib's clients of both kinds at once, the real window polling its own radio, and the
// simulated radios: every set is checked in what the radio itself answered.
#include "app/tools.h"
#include "share/share_window.h"
#include "share/sharing.h"
#include "simulator.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

class SharedRadio : public SimulatorTest {
protected:
    QProcess* rigctl(const QStringList& args)
    {
        auto* const client = new QProcess(window.get());
        client->setProcessChannelMode(QProcess::MergedChannels);
        client->start(QStringLiteral(RIGCTL_PATH), args);
        return client;
    }

    // Its output, one answer a line, once it has ended.
    std::string finish(QProcess* client)
    {
        EXPECT_TRUE(tickUntil([client] { return client->state() == QProcess::NotRunning; }));
        return client->readAll().toStdString();
    }

    // The radio's own log holds this request and, after it, this answer (hex as civ-sim logs).
    bool radioAnswered(const char* request, const char* answer)
    {
        log += sim.readAllStandardError();
        const qsizetype at = log.indexOf(QByteArray("rx ") + request);
        return at >= 0 && log.indexOf(QByteArray("tx ") + answer, at) > at;
    }

    QByteArray log;
};

TEST_F(SharedRadio, ANetworkClientAndACivPortProgramReadAndSetAtOnceWhileTheWindowPolls)
{
    const QString line = startSimulator({"--radio", "0x08", "--radio", "0x58", "--log"});
    ASSERT_FALSE(line.isEmpty());
    openWindow(line);
    share::Sharing sharing(window->door());
    Tools tools(*window, sharing,
                [this](QWidget*, const QString& text, const QString&) { messages.append(text); });
    tools.startNetworkServer({"127.0.0.1", 0});
    ASSERT_NE(sharing.networkServer(), nullptr);
    const QString where = QString::fromStdString(sharing.networkServer()->where());
    const QString path = temp.filePath(QStringLiteral("civ"));
    ASSERT_EQ(sharing.startCivPort(path), QString());
    fire("ReqTimer");

    // Radio 8 through the server as Our ID; the IC-706MkIIG at 58 through the port, as E0.
    QProcess* const net = rigctl({"-m", "2", "-r", where, "F", "7074000", "f", "M", "CW", "500",
                                  "m", "T", "1", "t", "T", "0", "t"});
    QProcess* const civ =
        rigctl({"-m", "3011", "-r", path, "F", "7100000", "f", "M", "LSB", "0", "m"});
    EXPECT_EQ(finish(net), "7074000\nCW\n500\n1\n0\n");
    EXPECT_EQ(finish(civ), "7100000\nLSB\n2400\n");
    EXPECT_TRUE(radioAnswered("FE FE 08 EA 05 00 40 07 07 00 FD", "FE FE EA 08 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 08 EA 1C 00 01 FD", "FE FE EA 08 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 08 EA 1C 00 00 FD", "FE FE EA 08 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 05 00 00 10 07 00 FD", "FE FE E0 58 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 06 00", "FE FE E0 58 FB FD"));

    // The IC-706MkIIG has no PTT in Hamlib; the IC-7000's backend has, over the same commands.
    EXPECT_EQ(finish(rigctl({"-m", "3060", "-c", "0x58", "--set-conf=cache_timeout=0", "-r", path,
                             "T", "1", "t", "T", "0", "t"})),
              "1\n0\n");
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 1C 00 01 FD", "FE FE E0 58 FB FD"));
    EXPECT_TRUE(radioAnswered("FE FE 58 E0 1C 00 00 FD", "FE FE E0 58 FB FD"));

    // Hamlib's IC-7300 backend probes 26 00, which radio 8 refuses: the NG is the program's.
    finish(rigctl({"-m", "3073", "-c", "0x08", "-r", path, "f"}));
    EXPECT_TRUE(radioAnswered("FE FE 08 E0 26 00", "FE FE E0 08 FA FD"));

    // The window's own poll went on; its radio shows what the network client set.
    auto* const freq = window->findChild<QLabel*>(QStringLiteral("FreqDisplay"));
    fire("ReqTimer");
    EXPECT_TRUE(tickUntil([freq] { return freq->text() == "7074"; }));
    EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("Notice"))->toolTip().contains("NG"));

    // The Share window lists both ways in and the programs still there; Stop hangs up on one.
    share::ShareWindow& share = tools.shareWindow();
    auto* const list = share.findChild<QTreeWidget*>(QStringLiteral("ShareList"));
    share.show();
    ASSERT_TRUE(tickUntil([list] { return list->topLevelItemCount() == 2; }));
    EXPECT_EQ(list->topLevelItem(0)->text(1), path);
    EXPECT_EQ(list->topLevelItem(1)->text(1), where);
    QFile program(path);
    ASSERT_TRUE(program.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    program.write("\xFE\xFE\x08\xE0\x03\xFD");
    ASSERT_TRUE(tickUntil([list] { return list->topLevelItemCount() == 3; }));
    EXPECT_TRUE(list->topLevelItem(1)->text(0).endsWith("(controller E0)"));
    qobject_cast<QPushButton*>(list->itemWidget(list->topLevelItem(1), share.kStopColumn))->click();
    EXPECT_TRUE(tickUntil([list] { return list->topLevelItemCount() == 2; }));
}

} // namespace
