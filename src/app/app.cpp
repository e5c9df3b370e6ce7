#include "app/app.h"

#include "app/about.h"
#include "share/share_window.h"
#include "ui/icom_window.h"

#include <QVersionNumber>

App::App(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("icom-interface"));
    setApplicationDisplayName(QStringLiteral("Icom Interface"));
    setApplicationVersion(QStringLiteral(ICOM_INTERFACE_VERSION));
}

App::~App() = default;

void App::Open()
{
    // Listening before the about message: a client that connects meanwhile is served once the
    // window is up.
    auto listener = networkServer ? share::bindListener(*networkServer) : nullptr;
    DisplayProgramInfo();
    mainWindow().init();
    if (networkServer) {
        mainWindow().shareWindow().startNetworkServer(*networkServer, std::move(listener));
    }
    if (!civPortPath_.isEmpty()) {
        mainWindow().shareWindow().startCivPort(civPortPath_);
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
    }
    return *window_;
}
