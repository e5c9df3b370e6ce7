// The application: start-up, the about message, and the parts that live as long as it does.
#pragma once

#include "platform/services.h"
#include "settings/kept_settings.h"
#include "share/rigctl_listen_address.h"

#include <QApplication>
#include <memory>
#include <optional>

class IcomWindow;
class Tools;

namespace share {
class Sharing;
}

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
    // The single main window, built on first use with the services that share its radio and
    // its Tools menu.
    IcomWindow& mainWindow();
    share::Sharing& sharing();

    // From --rigctld: the Hamlib network server starts with the window.
    std::optional<share::ListenAddress> networkServer;

private:
    platform::Services services_;
    QString civPortPath_;
    settings::LineSettings start_;
    // Declared in this order, so that what uses the window's link is destroyed before it.
    std::unique_ptr<IcomWindow> window_;
    std::unique_ptr<share::Sharing> sharing_;
    std::unique_ptr<Tools> tools_;
};
