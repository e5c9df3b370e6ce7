#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

TEST_F(WindowTest, ChangingEitherPopupReopensThePortWithBothChoices)
{
    buildAndInit();
    auto* serialPopup = control<QComboBox>("SerialPopup");
    auto* baud = control<QComboBox>("BaudPopup");
    port->openedLocations.clear();
    port->openedRates.clear();

    serialPopup->setCurrentIndex(1);
    EXPECT_EQ(app().ourSerialPort, 1);
    baud->setCurrentIndex(9);
    baud->setCurrentIndex(13);
    baud->setCurrentIndex(3);
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/B", "/dev/B", "/dev/B", "/dev/B"}));
    EXPECT_EQ(port->openedRates, QList<int>({9600, 14400, 57600, 1800}));
}

TEST_F(WindowTest, AFailedOpenIsReportedOncePerAttemptAndLeavesThePortClosed)
{
    buildAndInit();
    port->acceptOpen = false;
    control<QComboBox>("BaudPopup")->setCurrentIndex(10);
    EXPECT_EQ(messages, QStringList({"Failure to open serial  port!!"}));
    EXPECT_FALSE(port->isOpen());
    window->Timer1_Action();
    window->Timer1_Action();
    EXPECT_EQ(messages.size(), 1);

    port->acceptOpen = true;
    control<QComboBox>("SerialPopup")->setCurrentIndex(1);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(port->isOpen());
}

TEST_F(WindowTest, ReceivedBytesAreParsedShownAndCountedInTheStatusLine)
{
    buildAndInit();
    control<QCheckBox>("ShowDataCheck")->setChecked(true);
    port->feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}));
    EXPECT_EQ(text("StaticBuf"), QStringLiteral("Label:"));
    window->Timer1_Action();
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText(),
              QStringLiteral("FE_FE_EA_5C_03_00_40_07_14_00_FD_"));
    // The frame end in the first pass already shortened this tick's countdown.
    EXPECT_EQ(text("StaticBuf"), QStringLiteral("0 0 0 1"));

    window->transmitQueue.serialBufHead = 5;
    window->transmitQueue.serialBufTail = 9990;
    window->transmitQueue.sendDelay = 1;
    window->Timer1_Action();
    EXPECT_EQ(text("StaticBuf"), QStringLiteral("5 9990 15 0"));
}

TEST_F(WindowTest, StatusLineCountsDownAfterInit)
{
    buildAndInit();
    QStringList shown;
    for (int i = 0; i < 12; ++i) {
        window->Timer1_Action();
        shown.append(text("StaticBuf"));
    }
    EXPECT_EQ(shown,
              QStringList({"0 0 0 10", "0 0 0 9", "0 0 0 8", "0 0 0 7", "0 0 0 6", "0 0 0 5",
                           "0 0 0 4", "0 0 0 3", "0 0 0 2", "0 0 0 1", "0 0 0 0", "0 0 0 10"}));
}

TEST_F(WindowTest, DataDisplayKeepsItsLast500CharactersBeforeEachAppend)
{
    buildAndInit();
    auto* display = control<QPlainTextEdit>("EditField1");
    control<QCheckBox>("ShowDataCheck")->setChecked(true);
    const QString old = QString(20, QLatin1Char('x')) + QString(500, QLatin1Char('y'));
    display->setPlainText(old);
    port->feed(bytes({0x0A, 0xFF}));
    window->CheckSerial();
    EXPECT_EQ(display->toPlainText(), QString(500, QLatin1Char('y')) + QStringLiteral("0A_FF_"));

    display->setPlainText(QString(500, QLatin1Char('z')));
    port->feed(bytes({0x00}));
    window->CheckSerial();
    EXPECT_EQ(display->toPlainText(), QString(500, QLatin1Char('z')) + QStringLiteral("00_"));

    control<QCheckBox>("ShowDataCheck")->setChecked(false);
    port->feed(bytes({0x01}));
    window->CheckSerial();
    EXPECT_EQ(display->toPlainText().size(), 503) << "unticked: the display is left alone";
}

TEST_F(WindowTest, DebugFileGetsEveryPassAppendedAcrossReopens)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    debugFileName = dir.filePath(QStringLiteral("DEBUG.TXT"));
    buildAndInit();
    auto* debug = control<QCheckBox>("DebugCheckBox");

    port->feed(bytes({0xFE, 0xFE}));
    window->CheckSerial();
    EXPECT_FALSE(QFile::exists(debugFileName)) << "unticked: the file is not touched";

    debug->setChecked(true);
    window->CheckSerial();
    EXPECT_FALSE(QFile::exists(debugFileName)) << "an empty read writes nothing";

    port->feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0xFD}));
    window->CheckSerial();
    port->feed(bytes({0x00, 0xFD}));
    window->CheckSerial();
    EXPECT_EQ(readFile(debugFileName), QStringLiteral("FE_FE_EA_5C_03_FD_00_FD_"));

    // The file is closed between passes: it may be moved away and is then made anew.
    ASSERT_TRUE(QFile::rename(debugFileName, debugFileName + ".old"));
    port->feed(bytes({0x0A}));
    window->CheckSerial();
    EXPECT_EQ(readFile(debugFileName), QStringLiteral("0A_"));
}

TEST_F(WindowTest, UnwritableDebugFileNeitherStopsTheBytesNorFloodsTheLog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    debugFileName = dir.filePath(QStringLiteral("missing/DEBUG.TXT"));
    buildAndInit();
    control<QCheckBox>("DebugCheckBox")->setChecked(true);
    control<QCheckBox>("ShowDataCheck")->setChecked(true);

    int warnings = 0;
    static int* counter = nullptr;
    counter = &warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            if (type == QtWarningMsg) {
                ++*counter;
            }
        });
    for (int i = 0; i < 5; ++i) {
        port->feed(bytes({0xFE, 0xFE, 0xEA, 0x5C, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}));
        window->Timer1_Action();
    }
    qInstallMessageHandler(previous);

    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074"));
    EXPECT_EQ(control<QPlainTextEdit>("EditField1")->toPlainText().size(), 5 * 33);
}

TEST_F(WindowTest, ALostPortIsToldOnceAndChoosingItAgainReopensIt)
{
    buildAndInit();
    port->fail(QStringLiteral("Input/output error"));
    for (int i = 0; i < 12; ++i) {
        window->Timer1_Action();
    }
    const QString told = window->statusBar()->currentMessage();
    EXPECT_TRUE(told.contains(QStringLiteral("/dev/A"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("Input/output error"))) << told.toStdString();
    EXPECT_TRUE(messages.isEmpty()) << "no modal box for a lost port";
    EXPECT_FALSE(port->isOpen());
    EXPECT_EQ(text("StaticBuf"), QStringLiteral("0 0 0 10")) << "the pump keeps working";

    control<QComboBox>("BaudPopup")->setCurrentIndex(8);
    control<QComboBox>("SerialPopup")->setCurrentIndex(1);
    control<QComboBox>("SerialPopup")->setCurrentIndex(0);
    EXPECT_TRUE(port->isOpen());
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}
