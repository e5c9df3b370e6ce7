#include "window_fixture.h"

#include <QStatusBar>

namespace {

const QByteArray kFreqReply =
    bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});

} // namespace

TEST_F(WindowTest, RepliesToUsUpdateTheDisplays)
{
    buildAndInit();
    feed(kFreqReply);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(window->parser.parseState, 0);
    EXPECT_EQ(window->transmitQueue.sendDelay, 2);

    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x50, 0x34, 0x12, 0x07, 0x00, 0xFD}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7123.45"));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("145500"));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x23, 0x41, 0x07, 0x14, 0xFD}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074.123"));

    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x03, 0x02, 0xFD}));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("CW"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("MEDIUM"));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x05, 0xFD}));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("FM"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("MEDIUM"));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x11, 0x01, 0xFD}));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("FM"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("WIDE"));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x0B, 0x03, 0xFD}));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("SYNC-AM"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("NARROW"));
}

TEST_F(WindowTest, FramesToOthersOnlyPaceTheQueue)
{
    buildAndInit();
    QByteArray echo = kFreqReply;
    echo[2] = char(0x5C);
    echo[3] = char(0xEA);
    window->transmitQueue.sendDelay = 9;
    feed(echo);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-"));
    EXPECT_EQ(window->transmitQueue.sendDelay, 2);
}

TEST_F(WindowTest, OurAddressIsReadAtEachFrameEnd)
{
    buildAndInit();
    auto* our = control<QLineEdit>("OurIDEditField");
    const QByteArray head = kFreqReply.left(6);
    feed(head);
    our->setText(QStringLiteral("92"));
    feed(kFreqReply.mid(6));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-")) << "our address changed before the end";
    our->setText(QStringLiteral("234"));
    feed(kFreqReply);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));

    our->setText(QString());
    feed(bytes({0xFE, 0xFE, 0x00, 0x5C, 0x03, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("7000")) << "an empty field is address 0";
}

TEST_F(WindowTest, RepliesWithoutDataChangeNothing)
{
    buildAndInit();
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0x01, 0x02, 0xFD}));
    feed(kFreqReply);
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0xFD}));
    feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x04, 0xFD}));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(text("ModeDisplay"), QStringLiteral("USB"));
    EXPECT_EQ(text("FilterDisplay"), QStringLiteral("MEDIUM"));
    EXPECT_EQ(window->transmitQueue.sendDelay, 2);
}

TEST_F(WindowTest, OverlongFrameIsDroppedButPacesTheQueue)
{
    buildAndInit();
    QByteArray frame = bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03});
    frame.append(QByteArray(300, char(0x11)));
    frame.append(char(0xFD));
    window->transmitQueue.sendDelay = 9;
    feed(frame);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-"));
    EXPECT_EQ(window->transmitQueue.sendDelay, 2);
    feed(kFreqReply);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
}

TEST_F(WindowTest, JamCodeShowsTheWarningForOneTimerPeriod)
{
    buildAndInit();
    auto* jamming = control<QLabel>("StaticJamming");
    auto* jammerTimer = control<QTimer>("JammerTimer");
    window->transmitQueue.sendDelay = 7;
    feed(kFreqReply.left(8));
    feed(bytes({0xFC}));
    EXPECT_TRUE(jamming->isVisibleTo(window.get()));
    EXPECT_TRUE(jammerTimer->isActive());
    EXPECT_TRUE(jammerTimer->isSingleShot());
    EXPECT_EQ(jammerTimer->interval(), 1000);
    feed(kFreqReply.mid(8));
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("-")) << "the jam dropped the frame";
    EXPECT_EQ(window->transmitQueue.sendDelay, 7);

    jammerTimer->stop();
    window->JammerTimer_Action();
    EXPECT_FALSE(jamming->isVisibleTo(window.get()));
}

TEST_F(WindowTest, PollQueuesFrequencyThenModeRequestUnlessSearching)
{
    buildAndInit();
    window->ReqTimer_Action();
    EXPECT_EQ(queuedBytes(),
              bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD}));

    window->transmitQueue.reset();
    control<QPushButton>("FindRadiosButton")->setEnabled(false);
    window->ReqTimer_Action();
    EXPECT_EQ(queuedBytes(), QByteArray());
    control<QPushButton>("FindRadiosButton")->setEnabled(true);

    control<QLineEdit>("EditRadioID")->setText(QStringLiteral("92"));
    window->ReqTimer_Action();
    EXPECT_EQ(queuedBytes(),
              bytes({0xFE, 0xFE, 0x5C, 0xEA, 0x03, 0xFD, 0xFE, 0xFE, 0x5C, 0xEA, 0x04, 0xFD}));
}

TEST_F(WindowTest, PollFramesLeaveElevenTicksApartOnAQuietBus)
{
    buildAndInit();
    window->ReqTimer_Action();
    QList<int> writeTicks;
    for (int tick = 1; tick <= 30; ++tick) {
        const qsizetype before = port->writes.size();
        window->Timer1_Action();
        if (port->writes.size() > before) {
            writeTicks.append(tick);
        }
    }
    EXPECT_EQ(writeTicks, QList<int>({1, 12}));
    EXPECT_EQ(port->writes, QList<QByteArray>({bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD}),
                                               bytes({0xFE, 0xFE, 0x08, 0xEA, 0x04, 0xFD})}));
}

TEST_F(WindowTest, ModePopupsSendTheSelectedModeAndFilter)
{
    buildAndInit();
    auto* mode = control<QComboBox>("PopupMode");
    auto* filter = control<QComboBox>("PopupFilter");
    const struct {
        int modeRow;
        int filterRow;
        bool changeFilter;
        QByteArray frame;
    } cases[] = {
        {1, 2, false, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x01, 0x03, 0xFD})},
        {9, 0, false, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x0B, 0x01, 0xFD})},
        {10, 1, false, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x05, 0x00, 0xFD})},
        {3, 1, true, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x06, 0x03, 0x02, 0xFD})},
    };
    for (const auto& c : cases) {
        window->transmitQueue.reset();
        const QSignalBlocker blockFilter(c.changeFilter ? nullptr : filter);
        const QSignalBlocker blockMode(c.changeFilter ? mode : nullptr);
        filter->setCurrentIndex(c.filterRow);
        mode->setCurrentIndex(c.modeRow);
        if (c.changeFilter) {
            filter->setCurrentIndex(0);
            filter->setCurrentIndex(c.filterRow);
            window->transmitQueue.reset();
            filter->setCurrentIndex(0);
            window->transmitQueue.reset();
            filter->setCurrentIndex(c.filterRow);
        }
        EXPECT_EQ(queuedBytes(), c.frame) << "mode row " << c.modeRow;
    }
}

TEST_F(WindowTest, SetSendsTheTypedFrequencyToTheRadio)
{
    buildAndInit();
    auto* freq = control<QLineEdit>("EditFreq");
    auto* unit = control<QComboBox>("kHzPopup");
    auto* byteCount = control<QComboBox>("PopupFreqBytes");
    const struct {
        const char* text;
        int unitRow;
        int bytesRow;
        QByteArray frame;
    } cases[] = {
        {"14070", 0, 0, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0xFD})},
        {"14.07", 1, 1, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x07, 0x14, 0x00, 0xFD})},
        {"145.5", 1, 1, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD})},
        {"1296200", 0, 1,
         bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x20, 0x96, 0x12, 0xFD})},
        {"14.074123", 1, 0, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x23, 0x41, 0x07, 0x14, 0xFD})},
        {"", 0, 0, bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFD})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        window->transmitQueue.reset();
        freq->setText(QString::fromLatin1(c.text));
        unit->setCurrentIndex(c.unitRow);
        byteCount->setCurrentIndex(c.bytesRow);
        window->SetFreq1_Action();
        EXPECT_EQ(queuedBytes(), c.frame);
    }
    window->transmitQueue.reset();
    control<QLineEdit>("OurIDEditField")->setText(QStringLiteral("224"));
    freq->setText(QStringLiteral("7"));
    unit->setCurrentIndex(1);
    byteCount->setCurrentIndex(0);
    window->SetFreq1_Action();
    EXPECT_EQ(queuedBytes(), bytes({0xFE, 0xFE, 0x08, 0xE0, 0x05, 0x00, 0x00, 0x00, 0x07, 0xFD}));
}

TEST_F(WindowTest, UnencodableInputIsMarkedAndNothingIsQueued)
{
    buildAndInit();
    auto* radio = control<QLineEdit>("EditRadioID");
    auto* our = control<QLineEdit>("OurIDEditField");
    auto* freq = control<QLineEdit>("EditFreq");
    auto* unit = control<QComboBox>("kHzPopup");
    const auto marked = [](QLineEdit* field) { return field->property("invalid").toBool(); };

    for (const char* bad : {"256", "252", "253", "254", "-1"}) {
        SCOPED_TRACE(bad);
        radio->setText(QString::fromLatin1(bad));
        window->ReqTimer_Action();
        window->SetFreq1_Action();
        window->SetMode();
        EXPECT_EQ(window->transmitQueue.queued(), 0);
        EXPECT_TRUE(marked(radio));
        EXPECT_FALSE(radio->toolTip().isEmpty());
        EXPECT_FALSE(window->statusBar()->currentMessage().isEmpty());
    }
    radio->setText(QStringLiteral("251"));
    EXPECT_FALSE(marked(radio)) << "a valid value clears the mark";
    EXPECT_TRUE(radio->toolTip().isEmpty());
    radio->setText(QStringLiteral("8"));

    our->setText(QStringLiteral("300"));
    window->ReqTimer_Action();
    EXPECT_EQ(window->transmitQueue.queued(), 0);
    EXPECT_TRUE(marked(our));
    EXPECT_FALSE(marked(radio));
    our->setText(QStringLiteral("234"));
    EXPECT_FALSE(marked(our));

    unit->setCurrentIndex(1);
    control<QComboBox>("PopupFreqBytes")->setCurrentIndex(0);
    for (const char* bad : {"145.5", "100", "-0.001"}) {
        SCOPED_TRACE(bad);
        freq->setText(QString::fromLatin1(bad));
        window->SetFreq1_Action();
        EXPECT_EQ(window->transmitQueue.queued(), 0);
        EXPECT_TRUE(marked(freq));
    }
    control<QComboBox>("PopupFreqBytes")->setCurrentIndex(1);
    freq->setText(QStringLiteral("10000"));
    window->SetFreq1_Action();
    EXPECT_EQ(window->transmitQueue.queued(), 0);
    freq->setText(QStringLiteral("9999.999999"));
    EXPECT_FALSE(marked(freq));
    window->SetFreq1_Action();
    EXPECT_EQ(queuedBytes(),
              bytes({0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x99, 0x99, 0x99, 0x99, 0x99, 0xFD}));
}

TEST_F(WindowTest, AFullQueueRefusesWholeFramesAndKeepsWhatWaits)
{
    buildAndInit();
    int accepted = 0;
    for (int i = 0; i < 1700; ++i) {
        window->ReqFreq(8);
        accepted = window->transmitQueue.queued() / 6;
    }
    EXPECT_EQ(accepted, 9999 / 6);
    EXPECT_EQ(window->transmitQueue.queued(), 9999 / 6 * 6);
    const QByteArray waiting = queuedBytes();
    for (int i = 0; i < accepted; ++i) {
        EXPECT_EQ(waiting.mid(i * 6, 6), bytes({0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD}));
    }
}
