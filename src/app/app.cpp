// The application: start-up in order, the about message, and the main window with its parts.
#include "app/app.h"

#include "app/about.h"
#include "app/tools.h"
#include "share/sharing.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"
#include "ui/remember_settings.h"

#include <QIcon>
#include <QVersionNumber>

App::App(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("icom-interface"));
    setApplicationDisplayName(QStringLiteral("Icom Interface"));
    setApplicationVersion(QStringLiteral(ICOM_INTERFACE_VERSION));
    setWindowIcon(QIcon(QStringLiteral(":/icons/icom-interface.png")));
}

App::~App() = default;

void App::Open()
{
    // Listening before the about message: a client that connects meanwhile is served once the
    // window is up.
    auto listener = networkServer ? share::bindListener(*networkServer) : nullptr;
    DisplayProgramInfo();
    IcomWindow& window = mainWindow();
    window.init(start_);
    // Watching from here on: start-up's own choices are nothing to keep.
    new ui::RememberSettings(window, *window.menuBar1()->rememberAction());
    if (networkServer) {
        tools_->startNetworkServer(*networkServer, std::move(listener));
    }
    if (!civPortPath_.isEmpty()) {
        tools_->startCivPort(civPortPath_);
    }
}

void App::DisplayProgramInfo()
{
    const QVersionNumber version = QVersionNumber::fromString(applicationVersion());
    services_.showMessage(nullptr,
                          aboutText(version.majorVersion(), version.minorVersion(),
                                    version.microVersion(), QStringLiteral("\n")),
                          {});
}

IcomWindow& App::mainWindow()
{
    if (!window_) {
        window_ = std::make_unique<IcomWindow>(*this, services_);
        sharing_ = std::make_unique<share::Sharing>(window_->door());
        tools_ = std::make_unique<Tools>(*window_, *sharing_, services_.showMessage);
    }
    return *window_;
}

share::Sharing& App::sharing()
{
    mainWindow();
    return *sharing_;
}
