// The window and its radio: live reports, silence, notices, ports that come back, the search's end.
#include "event_loop.h"
#include "ui/notice_label.h"
#include "window_fixture.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QStatusBar>

namespace {

const QByteArray kFrequencyReply =
    bytes({0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});

void pressReturn(QWidget* widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

// A window whose system lists `listed` at every reading and whose clock says `now`.
class RadioWindow : public WindowTest {
protected:
    void start()
    {
        platform::Services s = services({});
        s.listPorts = [this] { return listed; };
        s.timeOfDay = [this] { return now.addMSecs(static_cast<int>(ms)); };
        s.steadyMs = [this] { return ms; };
        build(s).init();
    }

    // The operator opens the port pop-up and picks a row.
    void pick(int row)
    {
        auto* popup = control<QComboBox>("SerialPopup");
        popup->showPopup();
        popup->view()->setCurrentIndex(popup->model()->index(row, 0));
        pressReturn(popup->view());
    }

    // The pump and the poll as their timers would run them, for this long.
    void run(int milliseconds)
    {
        for (const qint64 end = ms + milliseconds; ms < end;) {
            ms += 50;
            if (ms % 3000 == 0) {
                fire("ReqTimer");
            }
            tick();
        }
    }

    bool displaysLive() const
    {
        const auto live = [this](const char* name) { return control<QLabel>(name)->isEnabled(); };
        return live("FreqDisplay") && live("ModeDisplay") && live("FilterDisplay");
    }

    QList<platform::PortEntry> listed{{"A", "/dev/A"}, {"B", "/dev/B"}};
    QTime now{14, 3, 5};
    qint64 ms = 0;
};

} // namespace

// With our own address 00 a report is still no answer to a probe, and no display changes.
TEST_F(RadioWindow, AReportIsNoAnswerToAProbe)
{
    start();
    control<QLineEdit>("OurIDEditField")->setText(QStringLiteral("0"));
    control<QPushButton>("FindRadiosButton")->click();
    for (int step = 0; step < 3; ++step) {
        fire("FindRadiosTimer");
    }
    feed(bytes({0xFE, 0xFE, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD}));
    fire("FindRadiosTimer");
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText(), QString());
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-"));
}

TEST_F(RadioWindow, SilenceIsToldInAPermanentNoticeAndTheDisplaysStayGreyUntilAReply)
{
    start();
    control<QComboBox>("BaudPopup")->setCurrentIndex(13);
    EXPECT_FALSE(displaysLive()) << "nothing heard yet at this rate";
    port->feed(kFrequencyReply);
    run(50);
    EXPECT_TRUE(displaysLive());
    run(8500);
    const QString silence = QStringLiteral("No answer from radio 8 at 57600 bit/s since 14:03:08: "
                                           "check rate, address, cable and power");
    EXPECT_EQ(statusMessage(), silence);
    EXPECT_FALSE(displaysLive());
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074")) << "greyed, not cleared";

    // A status tip, as a hovered menu shows one, wipes nothing; the label fits the text to the
    // bar by shortening only a path, and its tooltip holds the whole.
    window->statusBar()->showMessage(QStringLiteral("Quit the program"));
    auto* notice = control<QLabel>("Notice");
    EXPECT_TRUE(notice->isVisibleTo(window.get()));
    EXPECT_EQ(notice->text(), silence);
    // Another radio and back: its silence is counted afresh.
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("9"));
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("8"));
    EXPECT_EQ(statusMessage(), QString());
    debugFileName = QStringLiteral("/no/such/folder/") + QString(80, u'x') + "/DEBUG.TXT";
    start();
    notice = control<QLabel>("Notice");
    control<QCheckBox>("DebugCheckBox")->setChecked(true);
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Received bytes cannot be written to ")));
    EXPECT_TRUE(statusMessage().endsWith(QStringLiteral("/DEBUG.TXT: No such folder")));
    EXPECT_TRUE(notice->text().contains(QChar(0x2026)));
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("/DEBUG.TXT: No such folder")));
}

// Every kind of notice, with a long path, as the window paints it: cut at a word with an
// ellipsis where it does not fit, its subject always whole.
TEST_F(RadioWindow, EveryNoticeIsPaintedInWholeWordsWithItsSubject)
{
    const std::string path = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    const line::PortStatus serial{line::PortState::NeverOpened, path, 57600, false, "Busy"};
    const line::PortStatus lost{line::PortState::Lost, "tcp://127.0.0.1:47001", 0, true, "Gone"};
    std::vector<radio::NoticeText> notices{
        radio::portText(serial),
        radio::portText(lost),
        radio::busyText({0, {92, 148, 164}}, 0),
        radio::silenceText(148, serial, 0),
        radio::broadcastPollText(),
        radio::refusalText(148, "frequency 145500 kHz, mode RTTY-REVERSE and the mode read", true,
                           0)};
    debugFileName = QStringLiteral("/var/log/icom-interface/no such folder/DEBUG.TXT");
    start();
    auto* const label = control<ui::NoticeLabel>("Notice");
    control<QCheckBox>("DebugCheckBox")->setChecked(true);
    notices.push_back({label->toolTip().toStdString(), debugFileName.toStdString()});
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("300"));
    fire("ReqTimer");
    notices.push_back({label->toolTip().toStdString(), ""});
    const int width = label->contentsRect().width();
    EXPECT_GT(width, 500) << "the notice has the window's width";
    for (const radio::NoticeText& notice : notices) {
        label->setNotice(notice);
        const QString whole = QString::fromStdString(notice.text);
        const QString painted = label->text();
        SCOPED_TRACE(painted.toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(painted), width);
        EXPECT_TRUE(painted.contains(QString::fromStdString(notice.subject)));
        // Whole, or its first words and an ellipsis.
        const qsizetype cut = painted.size() - 1;
        EXPECT_TRUE(painted == whole ||
                    (painted.back() == QChar(0x2026) && whole.startsWith(painted.first(cut)) &&
                     QStringLiteral(" .,:").contains(whole.at(cut))));
    }
}

TEST_F(RadioWindow, DisplaysTurnGreyWhenThePortIsLostOrRadioIdChangesUntilTheRadioAnswers)
{
    start();
    feed(kFrequencyReply);
    ASSERT_TRUE(displaysLive());
    port->fail(QStringLiteral("Input/output error"));
    tick();
    EXPECT_FALSE(displaysLive()) << "the port is lost";

    pick(0);
    feed(kFrequencyReply);
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("9"));
    feed(kFrequencyReply);
    EXPECT_FALSE(displaysLive()) << "the old radio is not the one at Radio ID";
    feed(frame(0xEA, 0x09, 0x03, {0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_TRUE(displaysLive());
}

TEST_F(RadioWindow, ChoosingTheRowOfAPortThatCameBackReopensIt)
{
    start();
    port->fail(QStringLiteral("Input/output error"));
    tick();
    ASSERT_FALSE(port->isOpen());
    ASSERT_NE(statusMessage(), QString());
    int written = 0;
    QObject::connect(&window->door().taps(), &line::Taps::written, [&written] { ++written; });
    run(3600);
    EXPECT_EQ(written, 0) << "a poll taken from the ring of a closed port was not sent";
    port->openedLocations.clear();

    pick(0);
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/A"}));
    EXPECT_EQ(statusMessage(), QString());
    pick(1);
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/A", "/dev/B"})) << "a new row opens once";

    port->acceptOpen = false;
    port->refusal = platform::OpenError::Busy;
    pick(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, QStringList({"Failure to open serial  port!!"}));
    EXPECT_EQ(details, QStringList({"/dev/B: busy: another program holds it\nAnother program "
                                    "holds the port: close it, then choose the port again."}));
}

// The failure box opens once the handler or the tick that found the failure has returned:
// while it is open, the pump's own timer goes on, and the notice is up already.
TEST_F(RadioWindow, AFailureBoxWaitsForItsHandlerOrTickAndThePumpGoesOnWhileItIsOpen)
{
    start();
    auto* const timer1 = control<QTimer>("Timer1");
    QStringList pumped;
    whileMessageShown = [&] {
        const int reads = port->reads;
        timer1->start();
        pumped.append(pumpUntil([&] { return port->reads > reads; }, 5000) ? "on" : "stopped");
        timer1->stop();
    };
    port->acceptOpen = false;
    pick(0);
    EXPECT_TRUE(messages.isEmpty()) << "not from inside the pop-up's handler";
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Port /dev/A did not open")));
    ASSERT_TRUE(pumpUntil([this] { return messages.size() == 1; }));

    port->acceptOpen = true;
    pick(0);
    port->fail(QStringLiteral("Connection refused"), platform::ConnectionFailure::Kind::OpenFailed);
    timer1->start();
    ASSERT_TRUE(pumpUntil([this] { return messages.size() == 2; }));
    timer1->stop();
    EXPECT_EQ(pumped, QStringList({"on", "on"}));
}

TEST_F(RadioWindow, ThePortListIsReadAgainEachTimeThePopupOpens)
{
    start();
    pick(1);
    listed = {{"Z", "/dev/Z"}, {"A", "/dev/A"}, {"B", "/dev/B"}};
    port->openedLocations.clear();
    pick(0);
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/Z"}));

    // The open port has gone from the system's list: it stays listed while it is chosen.
    listed = {{"A", "/dev/A"}, {"B", "/dev/B"}};
    control<QComboBox>("SerialPopup")->showPopup();
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentText(), QStringLiteral("Z"));
    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("9"));
    EXPECT_EQ(window->door().settings().port, "/dev/Z") << "the chosen row moved";
    pick(1);
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/Z", "/dev/B"}));
}

TEST_F(RadioWindow, StopEndsASearchAsItsLastTickWould)
{
    start();
    control<QPushButton>("FindRadiosButton")->click();
    for (int step = 0; step < 10; ++step) {
        fire("FindRadiosTimer");
    }
    auto* progress = control<QProgressBar>("SearchProgress");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->value(), 10);
    EXPECT_EQ(text("SearchTimeLeft"), QStringLiteral("4:09 left"));

    // The radio probed last answers just before Stop.
    feed(bytes({0xFE, 0xFE, 0xEA, 0x07, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}));
    control<QPushButton>("StopSearchButton")->click();
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText(),
              QStringLiteral(" Found radio at address 7\n"));
    EXPECT_FALSE(control<QTimer>("FindRadiosTimer")->isActive());
    EXPECT_TRUE(control<QPushButton>("FindRadiosButton")->isEnabled());
    for (const char* name : {"SearchProgress", "SearchTimeLeft", "StopSearchButton"}) {
        EXPECT_FALSE(control<QWidget>(name)->isVisible()) << name;
    }
    feed(kFrequencyReply);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074")) << "replies are shown again";
}

TEST_F(RadioWindow, SmallComforts)
{
    start();
    auto* debug = control<QCheckBox>("DebugCheckBox");
    debug->setChecked(true);
    const QString path = QFileInfo(debugFileName).absoluteFilePath();
    EXPECT_EQ(debug->toolTip(), path);
    EXPECT_TRUE(statusMessage().contains(path));
    debug->setChecked(false);
    EXPECT_EQ(statusMessage(), QString());
    app().setServices(services({}));
    window->findChild<QAction*>(QStringLiteral("HelpAbout"))->trigger();
    EXPECT_TRUE(messages.value(0).startsWith(QStringLiteral("Tarvik Icom Version ")));

    // The data display follows the newest bytes until the operator scrolls up, also when bursts
    // arrive between its paints.
    control<QCheckBox>("ShowDataCheck")->setChecked(true);
    QScrollBar* const scroll = control<QPlainTextEdit>("EditField1")->verticalScrollBar();
    for (int burst = 0; burst < 12; ++burst) {
        feed(QByteArray(99, 0x11));
        QCoreApplication::processEvents();
    }
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());
    scroll->setValue(1);
    feed(QByteArray(300, 0x11));
    EXPECT_EQ(scroll->value(), 1);
}
