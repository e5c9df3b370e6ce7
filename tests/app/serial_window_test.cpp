// The serial link as the operator meets it: the port pop-ups, pacing on the wire, the status
// line, the data display and DEBUG.TXT.
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

class SerialWindow : public WindowTest {
protected:
    // The 1-based tick on which the window next writes; 0 if not within 30 ticks.
    int ticksUntilWrite()
    {
        for (int n = 1; n <= 30; ++n) {
            const qsizetype before = port->writes.size();
            tick();
            if (port->writes.size() > before) {
                return n;
            }
        }
        return 0;
    }
};

} // namespace

TEST_F(SerialWindow, FramesLeaveOneAtATimePacedByTheBus)
{
    buildAndInit();
    fire("ReqTimer");
    EXPECT_EQ(ticksUntilWrite(), 1);
    EXPECT_EQ(port->writes.last(), frame(0x08, 0xEA, 0x03));
    EXPECT_EQ(ticksUntilWrite(), 11) << "ten quiet ticks after a release";
    EXPECT_EQ(port->writes.last(), frame(0x08, 0xEA, 0x04));

    QByteArray overlong = bytes({0xFE, 0xFE, 0xEA, 0x08, 0x03}) + QByteArray(300, 0x11);
    overlong += bytes({0xFD});
    for (const QByteArray& heard :
         {frame(0xEA, 0x08, 0x03, {0x00}), frame(0x00, 0x5C, 0x00), overlong}) {
        fire("ReqTimer");
        ticksUntilWrite();
        port->feed(heard);
        EXPECT_EQ(ticksUntilWrite(), 3) << "any frame end restarts a short wait";
    }
}

TEST_F(SerialWindow, BusyLinesArePaintedAboutOnceASecondButShownCurrentAtEveryTick)
{
    buildAndInit();
    control<QCheckBox>("ShowDataCheck")->setChecked(true);
    QWidget* const status = control<QLabel>("StaticBuf");
    QWidget* const data = control<QPlainTextEdit>("EditField1")->viewport();
    PaintCounter statusPaints(status);
    PaintCounter dataPaints(data);
    const auto tickAndPaint = [this] {
        tick();
        QCoreApplication::processEvents();
    };
    for (int tick = 1; tick <= 22; ++tick) {
        port->feed(bytes({tick}));
        tickAndPaint();
        EXPECT_EQ(text("StaticBuf"), QStringLiteral("0 0 0 %1").arg((11 - tick % 11) % 11));
        EXPECT_TRUE(
            control<QPlainTextEdit>("EditField1")
                ->toPlainText()
                .endsWith(QStringLiteral("%1_").arg(tick, 2, 16, QLatin1Char('0')).toUpper()));
    }
    EXPECT_GE(statusPaints.count, 1);
    EXPECT_LE(statusPaints.count, 2);
    EXPECT_GE(dataPaints.count, 1);
    EXPECT_LE(dataPaints.count, 3);
    const int idle = statusPaints.count;
    for (int tick = 0; tick < 44; ++tick) {
        tickAndPaint();
    }
    EXPECT_EQ(statusPaints.count, idle)
        << "an idle countdown, seen at the same point, is not painted";
    const int quiet = dataPaints.count;
    control<QPlainTextEdit>("EditField1")->viewport()->update();
    QCoreApplication::processEvents();
    EXPECT_GT(dataPaints.count, quiet) << "a quiet line paints as usual";
}

TEST_F(SerialWindow, AFailedOpenIsToldOncePerAttemptAndOnceAtStartUp)
{
    platform::Services s = services({{"A", "/dev/A"}, {"B", "/dev/B"}});
    s.newConnection = [this, make = s.newConnection] {
        auto connection = make();
        port->acceptOpen = false;
        return connection;
    };
    build(s).init();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, QStringList({"Failure to open serial  port!!"})) << "three opens, one box";
    EXPECT_EQ(details, QStringList({"/dev/A: No such file or directory\nThe device is gone: plug "
                                    "it in, then choose it again."}));
    EXPECT_EQ(statusMessage(), QStringLiteral("Port /dev/A did not open: No such file or "
                                              "directory. Choose it again under Serial Port "
                                              "once that is put right."));
    control<QComboBox>("BaudPopup")->setCurrentIndex(10);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.size(), 2);
    port->acceptOpen = true;
    control<QComboBox>("SerialPopup")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(port->isOpen());
    EXPECT_EQ(port->openedLocations.last(), QStringLiteral("/dev/B"));
    EXPECT_EQ(port->openedRates.last(), 19200) << "the port reopens with both choices";
    EXPECT_TRUE(statusMessage().isEmpty());
}

TEST_F(SerialWindow, DataDisplayKeepsItsLast500CharactersBeforeEachAppend)
{
    buildAndInit();
    auto* display = control<QPlainTextEdit>("EditField1");
    auto* show = control<QCheckBox>("ShowDataCheck");
    port->feed(bytes({0x01}));
    tick();
    EXPECT_TRUE(display->toPlainText().isEmpty()) << "unticked: the display is left alone";

    show->setChecked(true);
    display->setPlainText(QString(20, u'x') + QString(500, u'y'));
    port->feed(bytes({0x0A, 0xFF}));
    tick();
    EXPECT_EQ(display->toPlainText(), QString(500, u'y') + QStringLiteral("0A_FF_"));
    display->setPlainText(QString(500, u'z'));
    port->feed(frame(0xEA, 0x5C, 0x03));
    tick();
    EXPECT_EQ(display->toPlainText(), QString(500, u'z') + QStringLiteral("FE_FE_EA_5C_03_FD_"));
}

TEST_F(SerialWindow, DebugFileGetsEveryPassAppended)
{
    const QTemporaryDir dir;
    debugFileName = dir.filePath(QStringLiteral("DEBUG.TXT"));
    buildAndInit();
    port->feed(bytes({0xFE}));
    tick();
    EXPECT_FALSE(QFile::exists(debugFileName)) << "unticked: the file is not touched";

    control<QCheckBox>("DebugCheckBox")->setChecked(true);
    tick();
    EXPECT_FALSE(QFile::exists(debugFileName)) << "an empty read writes nothing";
    port->feed(frame(0xEA, 0x5C, 0x03));
    tick();
    port->feed(bytes({0x00, 0xFD}));
    tick();
    EXPECT_EQ(readFile(debugFileName), QStringLiteral("FE_FE_EA_5C_03_FD_00_FD_"));

    ASSERT_TRUE(QFile::rename(debugFileName, debugFileName + ".old"));
    port->feed(bytes({0x0A}));
    tick();
    EXPECT_EQ(readFile(debugFileName), QStringLiteral("0A_")) << "made anew once moved away";
}

TEST_F(SerialWindow, AnUnwritableDebugFileWarnsOncePerRunOfFailures)
{
    const QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("later"));
    debugFileName = folder + QStringLiteral("/DEBUG.TXT");
    buildAndInit();
    control<QCheckBox>("DebugCheckBox")->setChecked(true);

    static int warnings = 0;
    warnings = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            warnings += type == QtWarningMsg ? 1 : 0;
        });
    const auto passes = [&](int n) {
        for (int i = 0; i < n; ++i) {
            port->feed(frame(0xEA, 0x5C, 0x03, {0x00, 0x40, 0x07, 0x14, 0x00}));
            tick();
        }
    };
    passes(3);
    const int whileMissing = warnings;
    ASSERT_TRUE(QDir().mkpath(folder));
    passes(1);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    passes(3);
    qInstallMessageHandler(previous);

    EXPECT_EQ(whileMissing, 1);
    EXPECT_EQ(warnings, 2);
    EXPECT_EQ(text("FreqDisplay"), QStringLiteral("14074")) << "the bytes still reach the parser";
}
