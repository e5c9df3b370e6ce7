#pragma once

#include "platform/services.h"
#include "settings/kept_settings.h"
#include "share/rigctl_listen_address.h"

#include <QApplication>
#include <memory>
#include <optional>

class IcomWindow;

class App : public QApplication {
    Q_OBJECT

public:
    App(int& argc, char** argv);
    ~App() override;

    void setServices(platform::Services services) { services_ = std::move(services); }
    // The CI-V port for other programs starts at path once the window is up; empty: it does not.
    void setCivPortPath(const QString& path) { civPortPath_ = path; }
    // What the window starts with: kept from an earlier run, or start-up's own values.
    void setStartSettings(const settings::LineSettings& start) { start_ = start; }

    // Once the event loop runs: the about message, then the main window in its working state.
    void Open();
    void DisplayProgramInfo();
    // The single main window, built on first use.
    IcomWindow& mainWindow();

    int ourSerialPort = 0;
    // From --rigctld: the Hamlib network server starts with the window.
    std::optional<share::ListenAddress> networkServer;

private:
    platform::Services services_;
    QString civPortPath_;
    settings::LineSettings start_;
    std::unique_ptr<IcomWindow> window_;
};
