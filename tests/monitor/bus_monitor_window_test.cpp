// The Bus Monitor as the operator meets it: rows, typed frames, filters, copying and saving.
#include "app/tools.h"
#include "event_loop.h"
#include "monitor/bus_monitor_window.h"
#include "monitor/frame_log_model.h"
#include "share/sharing.h"
#include "ui/menu_bar.h"
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
const line::Origin kClient{line::Source::Network, 3, "127.0.0.1:40512"};

line::FrameEvent event(line::Direction direction, const QByteArray& frame)
{
    line::FrameEvent e(direction, line::Kind::Frame, {frame.begin(), frame.end()});
    e.wireLength = e.bytes.size();
    return e;
}

class BusMonitorTest : public WindowTest {
protected:
    void open()
    {
        buildAndInit();
        sharing = std::make_unique<share::Sharing>(window->door());
        tools = std::make_unique<Tools>(*window, *sharing, nullptr);
        window->menuBar1()->busMonitorAction()->trigger();
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

    // Our poll and its echo, a reply for a network client, and a clash with Our ID.
    void tellTraffic()
    {
        auto reply = event(line::Direction::Received, kReply);
        reply.origin = kClient;
        reply.request = 4;
        reply.roundTrip = 12;
        auto clash = event(line::Direction::Received, kPoll);
        clash.clash = true;
        for (const auto& e : {event(line::Direction::Sent, kPoll),
                              event(line::Direction::Echo, kPoll), reply, clash}) {
            emit window->door().taps().frame(e);
        }
        monitor->updateRows();
    }

    static void press(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(to, &press);
    }

    void type(const QString& line)
    {
        entry->setText(line);
        press(entry, Qt::Key_Return);
    }

    std::unique_ptr<share::Sharing> sharing;
    std::unique_ptr<Tools> tools;
    monitor::BusMonitorWindow* monitor = nullptr;
    QTableView* table = nullptr;
    QLineEdit* entry = nullptr;
};

TEST_F(BusMonitorTest, PollEchoAndReplyThroughTheLineAreRowsWithARoundTrip)
{
    open();
    fire("ReqTimer");
    tick();
    ASSERT_EQ(port->writes, QList<QByteArray>{kPoll});
    feed(kPoll + kReply);
    monitor->updateRows();

    ASSERT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(row(0).mid(1, 2), (QStringList{"sent", "main window"}));
    EXPECT_EQ(row(1).mid(1, 2), (QStringList{"echo", "main window"}));
    EXPECT_EQ(row(2).mid(1, 7),
              (QStringList{"received", "main window", "0x08 (8)", "0xEA (234)", "read frequency",
                           "14.074000 MHz", "FE FE EA 08 03 00 40 07 14 00 FD"}));
    EXPECT_TRUE(row(2)[8].endsWith(QLatin1String(" ms"))) << row(2)[8].toStdString();
}

TEST_F(BusMonitorTest, TypedFrameWaitingForAQuietBusSaysSoUntilItLeaves)
{
    open();
    type(QStringLiteral("19 00"));
    const auto* waiting = monitor->findChild<QLabel*>(QStringLiteral("entryWaiting"));
    // Another station ends a frame every tick: the ring never gets its quiet ticks.
    const QByteArray other = frame(0x00, 0x94, 0x00, {0x00, 0x40, 0x07, 0x14, 0x00});
    EXPECT_TRUE(pumpUntil([&] {
        feed(other);
        return !waiting->text().isEmpty();
    }));
    EXPECT_TRUE(waiting->text().startsWith(QLatin1String("Waiting for a quiet bus:")));
    EXPECT_TRUE(waiting->text().endsWith(QLatin1String("from 0x94 (148).")))
        << waiting->text().toStdString();
    EXPECT_TRUE(port->writes.isEmpty());

    EXPECT_TRUE(pumpUntil([&] {
        tick();
        return !port->writes.isEmpty();
    }));
    EXPECT_EQ(port->writes, QList<QByteArray>{frame(0x08, 0xEA, 0x19, {0x00})});
    EXPECT_EQ(waiting->text(), QString());
    monitor->updateRows();
    EXPECT_EQ(row(table->model()->rowCount() - 1).mid(1, 2), (QStringList{"sent", "typed"}));
}

TEST_F(BusMonitorTest, EntryRefusesAShortFormWithoutRadioIdAndKeepsAHalfTypedLine)
{
    open();
    type(QStringLiteral("03"));
    entry->setText(QStringLiteral("05 00"));
    press(entry, Qt::Key_Up);
    EXPECT_EQ(entry->text(), QStringLiteral("03"));
    press(entry, Qt::Key_Down);
    EXPECT_EQ(entry->text(), QStringLiteral("05 00"));

    EXPECT_EQ(sent([] {}), frame(0x08, 0xEA, 0x03));
    control<QLineEdit>("EditRadioID")->clear();
    EXPECT_EQ(sent([&] { type(QStringLiteral("19 00")); }), QByteArray());
    const QString told = monitor->findChild<QLabel*>(QStringLiteral("entryMessage"))->text();
    EXPECT_TRUE(told.startsWith(QLatin1String("Radio ID must be a bus address")))
        << told.toStdString();
}

TEST_F(BusMonitorTest, FiltersByClientAddressAndDirectionPauseAndClear)
{
    open();
    tellTraffic();
    ASSERT_EQ(table->model()->rowCount(), 4);
    EXPECT_EQ(row(2)[2], QStringLiteral("network 127.0.0.1:40512"));
    EXPECT_EQ(row(3)[1], QStringLiteral("received, address clash"));

    auto* client = monitor->findChild<QComboBox*>(QStringLiteral("filterClient"));
    ASSERT_EQ(client->count(), 3);
    client->setCurrentIndex(client->findText(QStringLiteral("network 127.0.0.1:40512")));
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(row(0)[8], QStringLiteral("12 ms"));
    client->setCurrentIndex(0);

    auto* address = monitor->findChild<QLineEdit*>(QStringLiteral("filterAddress"));
    address->setText(QStringLiteral("94"));
    EXPECT_EQ(table->model()->rowCount(), 0);
    address->clear();

    auto* direction = monitor->findChild<QComboBox*>(QStringLiteral("filterDirection"));
    const std::pair<const char*, QStringList> shown[] = {
        {"sent", {"sent"}},
        {"received", {"received", "received, address clash"}},
        {"echo", {"echo"}},
        {"dropped", {}}};
    for (const auto& [choice, rows] : shown) {
        direction->setCurrentIndex(direction->findText(QLatin1String(choice)));
        QStringList directions;
        for (int r = 0; r < table->model()->rowCount(); ++r) {
            directions.append(row(r)[1]);
        }
        EXPECT_EQ(directions, rows) << choice;
    }
    direction->setCurrentIndex(0);

    auto* pause = monitor->findChild<QPushButton*>(QStringLiteral("pause"));
    pause->click();
    tellTraffic();
    EXPECT_EQ(table->model()->rowCount(), 4) << "paused";
    pause->click();
    EXPECT_EQ(table->model()->rowCount(), 8) << "resumed";
    monitor->findChild<QPushButton*>(QStringLiteral("clear"))->click();
    EXPECT_EQ(table->model()->rowCount(), 0);
}

TEST_F(BusMonitorTest, CtrlCCopiesTheSelectedRowsOneLineEach)
{
    open();
    tellTraffic();
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    press(table, Qt::Key_C, Qt::ControlModifier);

    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              row(0).join(u'\t') + u'\n' + row(2).join(u'\t') + u'\n');
}

TEST(SaveRows, WritesAHeaderAndTheGivenRowsAsCsv)
{
    monitor::FrameLog log;
    auto reply = event(line::Direction::Received, kReply);
    reply.request = 1;
    reply.roundTrip = 0;
    log.add(event(line::Direction::Sent, kPoll));
    log.add(event(line::Direction::Received, frame(0x00, 0x08, 0x01, {0x03, 0x02})));
    log.add(reply);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows"));
    ASSERT_EQ(monitor::saveRows(path, monitor::TextFormat::Csv, log, {1, 2}), QString());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].toStdString(),
              "Time,Direction,Client,From,To,Command,Value,Raw bytes,Round trip");
    EXPECT_EQ(lines[1].mid(12).toStdString(),
              ",received,,0x08 (8),\"0x00 (0, broadcast)\",transceive mode,CW / medium,"
              "FE FE 00 08 01 03 02 FD,");
    EXPECT_EQ(lines[2].mid(12).toStdString(),
              ",received,main window,0x08 (8),0xEA (234),read frequency,14.074000 MHz,"
              "FE FE EA 08 03 00 40 07 14 00 FD,0 ms");
    EXPECT_EQ(lines[3], QString());
}

} // namespace
