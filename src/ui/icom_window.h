#pragma once

#include "civ/frame_parser.h"
#include "civ/transmit_queue.h"
#include "discovery/radio_search.h"
#include "line/door.h"
#include "line/link_account.h"
#include "platform/services.h"
#include "radio/line_notices.h"
#include "radio/notices.h"
#include "serial/debug_file.h"
#include "settings/kept_settings.h"
#include "ui/field_marks.h"
#include "ui/paint_cadence.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class App;
class MenuBar1;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace check {
class CheckWindow;
}

namespace civ {
struct Command;
}

namespace monitor {
class BusMonitorWindow;
}

namespace share {
class ShareWindow;
}

namespace ui {
class DataDisplay;
class NoticeLabel;
class PortPopup;
} // namespace ui

// The one main window. It reads the controls, hands the work to the parser, the transmit
// queue and the search, and shows what they report. The additions reach the line through its
// door.
class IcomWindow : public QMainWindow, public line::Door {
    Q_OBJECT

public:
    IcomWindow(App& app, platform::Services services);
    ~IcomWindow() override;

    // Start-up's values, or those kept from an earlier run when the operator asked for it.
    void init(const settings::LineSettings& start = {});

    // Application shell
    MenuBar1* menuBar1() const;

    // Bus monitor
    void showBusMonitor();

    // Serial link
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

    // CI-V protocol
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

    // Radio discovery
    void FindRadiosButton_Action();
    void FindRadiosTimer_Action();
    void StopSearchButton_Action();

    // Interface check
    void showCheckInterface();
    // The Share window, which keeps the CI-V port and the network server; made hidden when
    // first asked for.
    share::ShareWindow& shareWindow();

    // The addresses as the next frame will carry them.
    int ourAddress() const;
    int radioAddress() const;

    // The door.
    line::Taps& taps() override { return taps_; }
    const line::LinkAccount& account() const override { return account_; }
    line::Millis now() const override;
    line::Settings settings() const override;
    QWidget* mainWidget() override { return this; }
    std::optional<std::uint64_t> send(const civ::Frame& frame, const line::Origin& origin) override;
    bool pausePoll() override;
    platform::OpenError reopen(int rate) override;
    void restore() override;
    void useSettings(int baudCode, int radioId) override;

private:
    friend class WindowTest;

    void Layout();
    void CreateControls();
    void CreateControls0();
    void AddMenuHandlers();
    void addressesChanged();

    double typedMegahertz() const;
    int frequencyBytes() const;
    bool frequencyIsEncodable() const;
    bool queueCommand(const civ::Command& command, QLineEdit* destinationField);
    // The frequency or the mode the parsed frame carries, shown.
    void showParsedData(bool isFrequency);
    void reportConnectionFailure(const platform::ConnectionFailure& failure);
    // Tells the account; false when it did not open.
    bool openPort(const QString& location, int rate);
    QString openReason() const;
    std::optional<std::uint64_t> enqueue(const civ::Frame& frame, const line::Origin& origin);
    // The account's events to the notices and the taps.
    void publish();
    void tellDebugFile();
    void refreshPorts();

    void CreateSearchProgress();
    void showSearchProgress();
    void endSearch();
    void listFound(const discovery::RadioSearch::Step& step);

    // Live reports and the line's notices: window_radio.cpp.
    void frameEnded();
    void setDisplaysLive(bool live);
    void forgetSilence();
    void updateLineNotices();
    void updateLineNotices(line::Millis at);
    void tell(radio::Notice kind, const QString& text, const QString& subject = {});
    void untell(radio::Notice kind);
    void showNotice();

    App& app_;
    platform::Services services_;
    std::unique_ptr<platform::SerialConnection> Serial1;
    civ::FrameParser parser;
    civ::TransmitQueue transmitQueue;
    discovery::RadioSearch radioSearch;
    line::Taps taps_;
    line::LinkAccount account_;
    QList<platform::PortEntry> ports_;
    serial::DebugFile debugFile_;
    check::CheckWindow* checkWindow_ = nullptr;
    monitor::BusMonitorWindow* busMonitor_ = nullptr;
    share::ShareWindow* shareWindow_ = nullptr;
    radio::Notices notices_;
    radio::LineNotices lineNotices_;
    ui::FieldMarks fieldMarks_{[this](const QString& text) {
        text.isEmpty() ? untell(radio::Notice::RefusedInput)
                       : tell(radio::Notice::RefusedInput, text);
    }};
    ui::NoticeLabel* notice_ = nullptr;
    bool starting_ = true;
    ui::PaintCadence cadence_;

    ui::PortPopup* SerialPopup = nullptr;
    ui::DataDisplay* EditField1 = nullptr;
    QTimer* Timer1 = nullptr;
    QComboBox* BaudPopup = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
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
    QLabel* StaticText4 = nullptr;
    QToolButton* SetFreq1 = nullptr;
    QComboBox* kHzPopup = nullptr;
    QLabel* FreqDisplay = nullptr;
    QLabel* ModeDisplay = nullptr;
    QLabel* FilterDisplay = nullptr;
    QLineEdit* EditRadioID = nullptr;
    QTimer* ReqTimer = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLabel* StaticText7 = nullptr;
    QComboBox* PopupFreqBytes = nullptr;
    QLabel* StaticText8 = nullptr;
    QComboBox* PopupMode = nullptr;
    QComboBox* PopupFilter = nullptr;
    QProgressBar* SearchProgress = nullptr;
    QLabel* SearchTimeLeft = nullptr;
    QPushButton* StopSearchButton = nullptr;
};
