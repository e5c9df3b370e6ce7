// The main window: its layout, controls, timers and menu handlers, and its working state.
#include "ui/icom_window.h"

#include "app/app.h"
#include "civ/modes.h"
#include "ui/controls.h"
#include "ui/data_display.h"
#include "ui/menu_bar.h"
#include "ui/port_popup.h"
#include "ui/search_progress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

using namespace ui;

IcomWindow::IcomWindow(App& app, platform::Services services)
    : app_(app)
    , services_(std::move(services))
    , link(services_.newConnection(), services_.steadyMs)
    , debugFile_(services_.debugFileName)
{
    // First to hear each event: the window's own notices come before the additions'.
    connect(&link.taps(), &line::Taps::frame, this,
            [this](const line::FrameEvent& event) { notices_.take(event, radioAddress()); });
    Layout();
    CreateControls();
    AddMenuHandlers();
    SerialPopup_Open();
    show();
}

void IcomWindow::Layout()
{
    setMenuBar(new MenuBar1(this));
    setWindowTitle(QStringLiteral("Icom Interface"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("content"));
    content->setFixedSize(576, 529);
    setCentralWidget(content);
    // Below the design's content area, the notices: the line's state and refused input.
    statusBar()->setSizeGripEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void IcomWindow::CreateControls()
{
    CreateControls0();
    searchProgress_ = new ui::SearchProgress(statusBar());
    connect(searchProgress_, &ui::SearchProgress::stopClicked, this,
            &IcomWindow::StopSearchButton_Action);
}

void IcomWindow::CreateControls0()
{
    QWidget* const w = centralWidget();

    SerialPopup = place<PortPopup>(w, "SerialPopup", {109, 14, 280, 20}, 12);
    // The rows come from SerialPopup_Open, which runs once the controls exist.
    connect(SerialPopup, &QComboBox::currentIndexChanged, this, &IcomWindow::SerialPopup_Change);
    // Choosing the open port again re-opens it, as after a lost port.
    SerialPopup->sameRowChosen = [this] { SerialPopup_Change(); };
    SerialPopup->aboutToShowPopup = [this] { refreshPorts(); };

    EditField1 = place<DataDisplay>(w, "EditField1", {10, 345, 527, 164}, 12);
    Timer1 = timer(this, "Timer1", TimerMode::Multiple, line::Link::kTickMs);
    connect(Timer1, &QTimer::timeout, this, &IcomWindow::Timer1_Action);

    BaudPopup = popup(w, "BaudPopup", {109, 44, 95, 20},
                      {"300", "600", "1200", "1800", "2400", "3600", "4800", "7200", "9600",
                       "14400", "19200", "28800", "38400", "57600"},
                      12);
    connect(BaudPopup, &QComboBox::currentIndexChanged, this, &IcomWindow::BaudPopup_Change);

    captions(w);
    OurIDEditField = field(w, "OurIDEditField", {275, 44, 80, 22}, "", 12);
    ShowDataCheck = checkBox(w, "ShowDataCheck", {10, 313, 95, 20}, "Show Data", 12);

    FindRadiosButton = button(w, "FindRadiosButton", {260, 313, 117, 20}, "Find All Radios", 12);
    connect(FindRadiosButton, &QPushButton::clicked, this, &IcomWindow::FindRadiosButton_Action);

    StaticBuf = label(w, "StaticBuf", {302, 85, 202, 20}, "Label:", 12);
    PaintCadence::prepareStatusLine(*StaticBuf);
    DebugCheckBox = checkBox(w, "DebugCheckBox", {109, 313, 80, 20}, "Debug", 12);
    connect(DebugCheckBox, &QCheckBox::toggled, this, &IcomWindow::DebugCheckBox_Action);

    StaticJamming = warning(w, "StaticJamming", {20, 115, 100, 20}, "JAMMING CODE", 12);
    JammerTimer = timer(this, "JammerTimer", TimerMode::Off, 1000);
    connect(JammerTimer, &QTimer::timeout, this, &IcomWindow::JammerTimer_Action);

    FindRadiosTimer = timer(this, "FindRadiosTimer", TimerMode::Off, 1000);
    connect(FindRadiosTimer, &QTimer::timeout, this, &IcomWindow::FindRadiosTimer_Action);

    StaticFindRadios = label(w, "StaticFindRadios", {392, 312, 145, 20}, "-", 0);
    EditFreq = field(w, "EditFreq", {75, 141, 110, 20}, "", 12);
    connect(EditFreq, &QLineEdit::returnPressed, this, &IcomWindow::SetFreq1_Action);
    SetFreq1 = toolButton(w, "SetFreq1", {197, 141, 60, 22}, "Set", 12);
    connect(SetFreq1, &QToolButton::clicked, this, &IcomWindow::SetFreq1_Action);

    kHzPopup = popup(w, "kHzPopup", {269, 143, 80, 20}, {"kHz", "MHz"}, 12);
    FreqDisplay = label(w, "FreqDisplay", {87, 166, 110, 30}, "-", 16);
    ModeDisplay = label(w, "ModeDisplay", {89, 198, 100, 20}, "Label:", 12);
    FilterDisplay = label(w, "FilterDisplay", {209, 198, 100, 20}, "Label:", 12);
    EditRadioID = field(w, "EditRadioID", {275, 109, 80, 22}, "8", 0);

    ReqTimer = timer(this, "ReqTimer", TimerMode::Multiple, 3000);
    connect(ReqTimer, &QTimer::timeout, this, &IcomWindow::ReqTimer_Action);

    PopupFreqBytes = popup(w, "PopupFreqBytes", {440, 109, 64, 20}, {"4", "5"}, 0);
    PopupMode = popup(w, "PopupMode", {380, 140, 80, 20}, captions(civ::modeRows()), 0);
    connect(PopupMode, &QComboBox::currentIndexChanged, this, &IcomWindow::PopupMode_Change);

    PopupFilter = popup(w, "PopupFilter", {468, 141, 88, 20}, captions(civ::filters()), 0);
    connect(PopupFilter, &QComboBox::currentIndexChanged, this, &IcomWindow::PopupFilter_Change);

    for (QLineEdit* address : {OurIDEditField, EditRadioID}) {
        connect(address, &QLineEdit::textChanged, this, &IcomWindow::addressesChanged);
    }
    fieldMarks_.watchAddress(OurIDEditField, [this] { return ourAddress(); });
    fieldMarks_.watchAddress(EditRadioID, [this] { return radioAddress(); });
    fieldMarks_.watch(EditFreq, [this] { return frequencyIsEncodable(); });
}

void IcomWindow::AddMenuHandlers()
{
    // File and Edit carry the platform's own actions; the Tools menu's belong to the
    // application's tools.
    connect(menuBar1()->aboutAction(), &QAction::triggered, &app_, &App::DisplayProgramInfo);
}

MenuBar1* IcomWindow::menuBar1() const
{
    return static_cast<MenuBar1*>(menuBar());
}

void IcomWindow::init(const settings::LineSettings& start)
{
    link.resetParser();
    OurIDEditField->setText(start.ourId);
    EditRadioID->setText(start.radioId);
    PopupFreqBytes->setCurrentIndex(start.bytesRow);
    SerialPopup->setCurrentIndex(0);
    BaudPopup->setCurrentIndex(start.baudCode);
    link.resetRing();
    radioSearch.pollRadios = true;
    starting_ = false;
}
