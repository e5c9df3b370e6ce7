#include "window_fixture.h"

#include <QMenuBar>
#include <QToolButton>

namespace {

struct DesignedControl {
    const char* name;
    const char* kind;
    QRect geometry;
    const char* text; // caption, initial text, or the selected row of a pop-up
    int textSize;     // 0: the platform's default
};

// The design table, in creation order.
const DesignedControl kControls[] = {
    {"SerialPopup", "QComboBox", {109, 14, 280, 20}, "", 12},
    {"EditField1", "QPlainTextEdit", {10, 345, 527, 164}, "", 12},
    {"BaudPopup", "QComboBox", {109, 44, 95, 20}, "300", 12},
    {"StaticText1", "QLabel", {20, 14, 70, 20}, "Serial Port:", 12},
    {"StaticText2", "QLabel", {20, 44, 70, 20}, "Baud Rate:", 12},
    {"StaticText3", "QLabel", {216, 44, 50, 20}, "Our ID:", 12},
    {"OurIDEditField", "QLineEdit", {275, 44, 80, 22}, "", 12},
    {"ShowDataCheck", "QCheckBox", {10, 313, 95, 20}, "Show Data", 12},
    {"FindRadiosButton", "QPushButton", {260, 313, 117, 20}, "Find All Radios", 12},
    {"StaticBuf", "QLabel", {302, 85, 202, 20}, "Label:", 12},
    {"DebugCheckBox", "QCheckBox", {109, 313, 80, 20}, "Debug", 12},
    {"StaticJamming", "QLabel", {20, 115, 100, 20}, "JAMMING CODE", 12},
    {"StaticFindRadios", "QLabel", {392, 312, 145, 20}, "-", 0},
    {"EditFreq", "QLineEdit", {75, 141, 110, 20}, "", 12},
    {"StaticText4", "QLabel", {20, 142, 43, 19}, "Freq:", 12},
    {"SetFreq1", "QToolButton", {197, 141, 60, 22}, "Set", 12},
    {"kHzPopup", "QComboBox", {269, 143, 80, 20}, "kHz", 12},
    {"FreqDisplay", "QLabel", {87, 166, 110, 30}, "-", 16},
    {"ModeDisplay", "QLabel", {89, 198, 100, 20}, "Label:", 12},
    {"FilterDisplay", "QLabel", {209, 198, 100, 20}, "Label:", 12},
    {"EditRadioID", "QLineEdit", {275, 109, 80, 22}, "8", 0},
    {"StaticText5", "QLabel", {200, 110, 66, 20}, "Radio ID:", 0},
    {"StaticText6", "QLabel", {20, 176, 43, 20}, "Freq:", 0},
    {"StaticText7", "QLabel", {20, 197, 45, 20}, "Mode:", 0},
    {"PopupFreqBytes", "QComboBox", {440, 109, 64, 20}, "4", 0},
    {"StaticText8", "QLabel", {389, 110, 45, 20}, "Bytes:", 0},
    {"PopupMode", "QComboBox", {380, 140, 80, 20}, "LSB", 0},
    {"PopupFilter", "QComboBox", {468, 141, 88, 20}, "Wide", 0},
};

QString shownText(QWidget* w)
{
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        return c->currentText();
    }
    if (auto* c = qobject_cast<QLabel*>(w)) {
        return c->text();
    }
    if (auto* c = qobject_cast<QLineEdit*>(w)) {
        return c->text();
    }
    if (auto* c = qobject_cast<QAbstractButton*>(w)) {
        return c->text();
    }
    if (auto* c = qobject_cast<QPlainTextEdit*>(w)) {
        return c->toPlainText();
    }
    return QStringLiteral("?");
}

QStringList rows(QComboBox* popup)
{
    QStringList list;
    for (int i = 0; i < popup->count(); ++i) {
        list.append(popup->itemText(i));
    }
    return list;
}

} // namespace

TEST_F(WindowTest, ControlsMatchTheDesignInCreationOrder)
{
    build({});
    QList<QWidget*> created;
    for (QObject* child : window->centralWidget()->children()) {
        if (auto* w = qobject_cast<QWidget*>(child)) {
            created.append(w);
        }
    }
    ASSERT_EQ(created.size(), 28);
    for (int i = 0; i < 28; ++i) {
        const DesignedControl& design = kControls[i];
        QWidget* const w = created[i];
        SCOPED_TRACE(design.name);
        EXPECT_EQ(w->objectName(), QLatin1String(design.name));
        EXPECT_STREQ(w->metaObject()->className(), design.kind);
        EXPECT_EQ(w->geometry(), design.geometry);
        EXPECT_EQ(shownText(w), QLatin1String(design.text));
        EXPECT_EQ(w->font().pixelSize(),
                  design.textSize > 0 ? design.textSize : QFont().pixelSize());
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(w->isVisibleTo(window.get()), design.name != QLatin1String("StaticJamming"));
    }
}

TEST_F(WindowTest, PopupRowsAndStartStates)
{
    build({});
    EXPECT_EQ(rows(control<QComboBox>("BaudPopup")),
              QStringList({"300", "600", "1200", "1800", "2400", "3600", "4800", "7200", "9600",
                           "14400", "19200", "28800", "38400", "57600"}));
    EXPECT_EQ(rows(control<QComboBox>("kHzPopup")), QStringList({"kHz", "MHz"}));
    EXPECT_EQ(rows(control<QComboBox>("PopupFreqBytes")), QStringList({"4", "5"}));
    EXPECT_EQ(rows(control<QComboBox>("PopupMode")),
              QStringList({"LSB", "USB", "AM", "CW", "RTTY", "FM", "FM-WIDE", "CW-REVERSE",
                           "RTTY-REVERSE", "SYNC-AM", "SSB"}));
    EXPECT_EQ(rows(control<QComboBox>("PopupFilter")), QStringList({"Wide", "Medium", "Narrow"}));
    EXPECT_EQ(control<QComboBox>("SerialPopup")->count(), 0);
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentIndex(), -1);

    EXPECT_FALSE(control<QCheckBox>("ShowDataCheck")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("DebugCheckBox")->isChecked());
    EXPECT_EQ(control<QToolButton>("SetFreq1")->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(control<QLabel>("StaticJamming")->palette().color(QPalette::WindowText),
              QColor(226, 24, 13));
    auto* display = control<QPlainTextEdit>("EditField1");
    EXPECT_EQ(display->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(display->isReadOnly());
}

TEST_F(WindowTest, TimersHaveTheirModesAndPeriods)
{
    window = std::make_unique<IcomWindow>(app(), services({}));
    struct {
        const char* name;
        int period;
        bool running;
    } const timers[] = {{"Timer1", 50, true},
                        {"JammerTimer", 1000, false},
                        {"FindRadiosTimer", 1000, false},
                        {"ReqTimer", 3000, true}};
    for (const auto& t : timers) {
        SCOPED_TRACE(t.name);
        auto* timer = control<QTimer>(t.name);
        EXPECT_EQ(timer->interval(), t.period);
        EXPECT_EQ(timer->isActive(), t.running);
        EXPECT_FALSE(timer->isSingleShot());
    }
}

TEST_F(WindowTest, WindowIsAFixedSizeDocumentWindowWithoutMaximise)
{
    build({});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Icom Interface"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(576, 529));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, BuildingRunsNoChangeHandler)
{
    build();
    // The only open is the one the port pop-up's open event makes, at the first row's rate.
    EXPECT_EQ(port->openedLocations, QStringList({"/dev/A"}));
    EXPECT_EQ(port->openedRates, QList<int>({300}));
    EXPECT_EQ(window->transmitQueue.queued(), 0) << "a mode change would have queued a frame";
    EXPECT_EQ(app().ourSerialPort, 0);
    EXPECT_EQ(control<QComboBox>("SerialPopup")->count(), 2);
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentIndex(), -1);
}

TEST_F(WindowTest, InitPutsTheWindowIntoItsWorkingState)
{
    IcomWindow& w = build();
    w.parser.parseState = 3;
    w.transmitQueue.sendDelay = 7;
    w.transmitQueue.serialBufHead = 12;
    w.init();

    EXPECT_EQ(control<QLineEdit>("OurIDEditField")->text(), QStringLiteral("234"));
    EXPECT_EQ(control<QComboBox>("BaudPopup")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentText(), QStringLiteral("A"));
    EXPECT_EQ(w.parser.parseState, 0);
    EXPECT_EQ(w.transmitQueue.sendDelay, 0);
    EXPECT_EQ(w.transmitQueue.serialBufHead, 0);
    EXPECT_EQ(w.transmitQueue.serialBufTail, 0);
    EXPECT_TRUE(w.radioSearch.pollRadios);
    EXPECT_EQ(w.radioSearch.findRadiosState, 0);
    EXPECT_FALSE(w.radioSearch.gotFreqReply);
    // Open event at the first row's rate, then init's two selections re-open the port.
    EXPECT_EQ(port->openedRates, QList<int>({300, 300, 9600}));
    EXPECT_EQ(port->openedLocations.last(), QStringLiteral("/dev/A"));
    EXPECT_TRUE(port->isOpen());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowTest, InitWithoutPortsOpensNothingAndSaysNothing)
{
    IcomWindow& w = build({});
    w.init();
    EXPECT_TRUE(port->openedLocations.isEmpty());
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(control<QComboBox>("SerialPopup")->currentIndex(), -1);
}
