#include "monitor/bus_monitor_window.h"
#include "monitor/frame_log_model.h"
#include "window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>

namespace {

const QByteArray kPoll = bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD});
const QByteArray kReply = bytes({0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});

class BusMonitorTest : public WindowTest {
protected:
    void open()
    {
        buildAndInit();
        window->showBusMonitor();
        monitor = window->findChild<monitor::BusMonitorWindow*>();
        ASSERT_NE(monitor, nullptr);
        table = monitor->findChild<QTableView*>(QStringLiteral("rows"));
        entry = monitor->findChild<QLineEdit*>(QStringLiteral("entry"));
    }

    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < table->model()->columnCount(); ++c) {
            cells.append(table->model()->index(r, c).data().toString());
        }
        return cells;
    }

    // On a one-wire bus: the poll, its echo and the radio's reply.
    void pollHeardBackAndAnswered()
    {
        window->ReqFreq(8);
        window->Timer1_Action();
        port->feed(kPoll + kReply);
        window->Timer1_Action();
        monitor->updateRows();
    }

    void type(const QString& line)
    {
        entry->setText(line);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(entry, &enter);
    }

    monitor::BusMonitorWindow* monitor = nullptr;
    QTableView* table = nullptr;
    QLineEdit* entry = nullptr;
};

TEST_F(BusMonitorTest, PollAndReplyAreTwoRowsWithARoundTrip)
{
    open();
    window->ReqFreq(8);
    window->Timer1_Action();
    ASSERT_EQ(port->writes, QList<QByteArray>{kPoll});
    port->feed(kReply);
    window->Timer1_Action();
    monitor->updateRows();

    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(row(0).mid(1, 5),
              (QStringList{"sent", "0xEA (234)", "0x08 (8)", "read frequency", ""}));
    EXPECT_EQ(row(0)[7], QString());
    EXPECT_EQ(row(1).mid(1, 6), (QStringList{"received", "0x08 (8)", "0xEA (234)", "read frequency",
                                             "14.074000 MHz", "FE FE EA 08 03 00 40 07 14 00 FD"}));
    EXPECT_TRUE(row(1)[7].endsWith(QLatin1String(" ms"))) << row(1)[7].toStdString();
}

TEST_F(BusMonitorTest, OurFrameHeardBackIsAnEcho)
{
    open();
    pollHeardBackAndAnswered();

    ASSERT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(row(0)[1], QStringLiteral("sent"));
    EXPECT_EQ(row(1)[1], QStringLiteral("echo"));
    EXPECT_EQ(row(1)[6], QStringLiteral("FE FE 08 EA 03 FD"));
    EXPECT_EQ(row(2)[1], QStringLiteral("received"));
}

TEST_F(BusMonitorTest, TypedCommandGoesOutFramedAtTheNextReleasePoint)
{
    open();
    window->ReqFreq(8);
    type(QStringLiteral("19 00"));
    const QByteArray readId = bytes({0xFE, 0xFE, 0x08, 0xEA, 0x19, 0x00, 0xFD});
    EXPECT_EQ(queuedBytes(), kPoll + readId);
    EXPECT_EQ(entry->text(), QString());

    window->Timer1_Action();
    for (int tick = 1; tick <= civ::TransmitQueue::kDelayAfterRelease; ++tick) {
        window->Timer1_Action();
        ASSERT_EQ(port->writes.size(), 1) << "tick " << tick;
    }
    window->Timer1_Action();
    EXPECT_EQ(port->writes, (QList<QByteArray>{kPoll, readId}));

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(entry, &up);
    EXPECT_EQ(entry->text(), QStringLiteral("19 00"));
}

TEST_F(BusMonitorTest, BadInputSendsNothingAndSaysWhy)
{
    open();
    type(QStringLiteral("19 GG"));
    EXPECT_EQ(queuedBytes(), QByteArray());
    EXPECT_EQ(entry->text(), QStringLiteral("19 GG"));
    EXPECT_EQ(monitor->findChild<QLabel*>(QStringLiteral("entryMessage"))->text(),
              QStringLiteral("\"GG\" at column 4 is not hex."));
}

TEST_F(BusMonitorTest, FilterPauseAndClearChooseTheRowsShown)
{
    open();
    const QByteArray other = bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x01, 0x01, 0xFD});
    port->feed(kReply + other);
    window->Timer1_Action();
    monitor->updateRows();
    ASSERT_EQ(table->model()->rowCount(), 2);

    monitor->findChild<QLineEdit*>(QStringLiteral("filterAddress"))
        ->setText(QStringLiteral("0x5C"));
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(row(0)[2], QStringLiteral("0x5C (92)"));

    auto* pause = monitor->findChild<QPushButton*>(QStringLiteral("pause"));
    pause->click();
    port->feed(kReply + other);
    window->Timer1_Action();
    monitor->updateRows();
    EXPECT_EQ(table->model()->rowCount(), 1) << "paused";
    pause->click();
    EXPECT_EQ(table->model()->rowCount(), 2) << "resumed";

    monitor->findChild<QPushButton*>(QStringLiteral("clear"))->click();
    EXPECT_EQ(table->model()->rowCount(), 0);
}

TEST_F(BusMonitorTest, CtrlCCopiesTheSelectedRowsOneLineEach)
{
    open();
    pollHeardBackAndAnswered();
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(table, &copy);

    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], row(0).join(QLatin1Char('\t')));
    EXPECT_EQ(lines[1], row(2).join(QLatin1Char('\t')));
    EXPECT_EQ(lines[2], QString());
}

TEST(SaveRows, WritesAHeaderAndTheGivenRowsAsCsv)
{
    monitor::FrameLog log;
    const auto asBytes = [](const QByteArray& b) {
        return std::vector<std::uint8_t>(b.begin(), b.end());
    };
    log.sent(asBytes(kPoll), {});
    log.received(asBytes(bytes({0xFE, 0xFE, 0x00, 0x08, 0x01, 0x03, 0x02, 0xFD})), {});
    log.received(asBytes(kReply), {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    ASSERT_EQ(monitor::saveRows(path, log, {1, 2}), QString());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].toStdString(), "Time,Direction,From,To,Command,Value,Raw bytes,Round trip");
    EXPECT_EQ(lines[1].mid(12).toStdString(),
              ",received,0x08 (8),\"0x00 (0, broadcast)\",transceive mode,CW / MEDIUM,"
              "FE FE 00 08 01 03 02 FD,");
    EXPECT_EQ(lines[2].mid(12).toStdString(),
              ",received,0x08 (8),0xEA (234),read frequency,14.074000 MHz,"
              "FE FE EA 08 03 00 40 07 14 00 FD,0.0 ms");
    EXPECT_EQ(lines[3], QString());
}

} // namespace
