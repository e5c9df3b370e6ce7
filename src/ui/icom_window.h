// The main window: its controls, timers and handlers, and the state they keep.
#pragma once

#include "discovery/radio_search.h"
#include "line/check_control.h"
#include "line/link.h"
#include "platform/services.h"
#include "serial/debug_file.h"
#include "settings/kept_settings.h"
#include "ui/field_marks.h"
#include "ui/notice_board.h"
#include "ui/paint_cadence.h"

#include <QMainWindow>

class App;
class MenuBar1;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace civ {
struct Command;
}

namespace ui {
class DataDisplay;
class PortPopup;
class SearchProgress;
} // namespace ui

// The one main window. Its handlers read the controls, hand the work to the link, the search
// and the commands, and show what they report. The link is the door the additions use; the
// interface check also reaches the window's own settings through its control.
class IcomWindow : public QMainWindow, private line::CheckControl {
    Q_OBJECT

public:
    IcomWindow(App& app, platform::Services services);

    // Start-up's values, or those kept from an earlier run when the operator asked for it.
    void init(const settings::LineSettings& start = {});

    MenuBar1* menuBar1() const;
    line::Door& door() { return link; }
    line::CheckControl& checkControl() { return *this; }

private:
    void Layout();
    void CreateControls();
    void CreateControls0();
    void AddMenuHandlers();

    // Serial link: window_serial.cpp.
    void SerialPopup_Open();
    void SerialPopup_Change();
    void BaudPopup_Change();
    void SetSerialStuff(int port, int baud);
    void Timer1_Action();
    void CheckSerial();
    bool SendSerialPacket(const civ::Frame& s);
    void DoSerialOut();
    void AddToDebugFile(const QString& s);
    void DebugCheckBox_Action();
    void refreshPorts();
    void failed(const platform::ConnectionFailure& failure);
    void tellDebugFile();
    void tellSettings();

    // CI-V protocol: window_civ.cpp.
    void ParseByte(int b);
    void ParseMessage();
    void UpdateFreq(double f);
    void UpdateMode(int mode, int filter);
    void JammerTimer_Action();
    void ReqFreq(int to);
    void SetFreq(int to, double f);
    void SetFreq1_Action();
    void ReqMode(int to);
    void SetMode();
    void PopupMode_Change();
    void PopupFilter_Change();
    void ReqTimer_Action();
    int ourAddress() const;
    int radioAddress() const;
    double typedMegahertz() const;
    int frequencyBytes() const;
    bool frequencyIsEncodable() const;
    bool queueCommand(const civ::Command& command, QLineEdit* destinationField);
    // The frequency or the mode the parsed frame carries, shown.
    void showParsedData(bool isFrequency);

    // Radio discovery: window_discovery.cpp.
    void FindRadiosButton_Action();
    void FindRadiosTimer_Action();
    void StopSearchButton_Action();
    void endSearch();
    void listFound(const discovery::RadioSearch::Step& step);
    bool pollPaused() const { return radioSearch.running() || pollHeld_; }

    // Live reports and the line's notices: window_radio.cpp.
    void addressesChanged();
    void frameEnded();
    void setDisplaysLive(bool live);
    void forgetSilence();
    void updateLineNotices(line::Millis at);

    // The interface check's control: window_radio.cpp.
    bool pausePoll() override;
    platform::OpenError reopen(int rate) override;
    void restore() override;
    void useSettings(int baudCode, int radioId) override;

    App& app_;
    platform::Services services_;
    line::Link link;
    discovery::RadioSearch radioSearch;
    // Row of SerialPopup, and so the index of the chosen port.
    int ourSerialPort = 0;
    // The interface check holds the poll.
    bool pollHeld_ = false;
    bool starting_ = true;
    serial::DebugFile debugFile_;
    ui::NoticeBoard notices_{statusBar()};
    ui::FieldMarks fieldMarks_{
        [this](const QString& text) { notices_.tell(radio::Notice::RefusedInput, text); }};
    ui::PaintCadence cadence_;
    ui::SearchProgress* searchProgress_ = nullptr;

    ui::PortPopup* SerialPopup = nullptr;
    ui::DataDisplay* EditField1 = nullptr;
    QTimer* Timer1 = nullptr;
    QComboBox* BaudPopup = nullptr;
    QLineEdit* OurIDEditField = nullptr;
    QCheckBox* ShowDataCheck = nullptr;
    QPushButton* FindRadiosButton = nullptr;
    QLabel* StaticBuf = nullptr;
    QCheckBox* DebugCheckBox = nullptr;
    QLabel* StaticJamming = nullptr;
    QTimer* JammerTimer = nullptr;
    QTimer* FindRadiosTimer = nullptr;
    QLabel* StaticFindRadios = nullptr;
    QLineEdit* EditFreq = nullptr;
    QToolButton* SetFreq1 = nullptr;
    QComboBox* kHzPopup = nullptr;
    QLabel* FreqDisplay = nullptr;
    QLabel* ModeDisplay = nullptr;
    QLabel* FilterDisplay = nullptr;
    QLineEdit* EditRadioID = nullptr;
    QTimer* ReqTimer = nullptr;
    QComboBox* PopupFreqBytes = nullptr;
    QComboBox* PopupMode = nullptr;
    QComboBox* PopupFilter = nullptr;
};
