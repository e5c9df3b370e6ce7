// The Tools menu's windows, made when first asked for, and the network server's start and stop.
#include "app/tools.h"

#include "check/check_window.h"
#include "line/link.h"
#include "monitor/bus_monitor_window.h"
#include "share/share_window.h"
#include "share/sharing.h"
#include "ui/controls.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QAction>

Tools::Tools(IcomWindow& window, share::Sharing& sharing, platform::Services::Message message)
    : window_(window)
    , sharing_(sharing)
    , message_(std::move(message))
{
    MenuBar1* const menu = window.menuBar1();
    connect(menu->busMonitorAction(), &QAction::triggered, this, &Tools::showBusMonitor);
    connect(menu->checkInterfaceAction(), &QAction::triggered, this, &Tools::showCheckInterface);
    connect(menu->networkServerAction(), &QAction::triggered, this, &Tools::toggleNetworkServer);
    connect(menu->shareAction(), &QAction::triggered, this,
            [this] { ui::bringUp(&shareWindow()); });
    connect(menu->civPortAction(), &QAction::triggered, this,
            [this] { shareWindow().showForCivPort(); });
    connect(&sharing_, &share::Sharing::networkServerChanged, menu->networkServerAction(),
            &QAction::setChecked);
}

void Tools::showBusMonitor()
{
    if (!busMonitor_) {
        busMonitor_ = new monitor::BusMonitorWindow(window_.door(), &window_);
    }
    ui::bringUp(busMonitor_);
}

void Tools::showCheckInterface()
{
    if (!checkWindow_) {
        checkWindow_ = new check::CheckWindow(window_.door(), window_.checkControl(), &window_,
                                              line::Link::kTickMs);
    }
    ui::bringUp(checkWindow_);
}

share::ShareWindow& Tools::shareWindow()
{
    if (!shareWindow_) {
        shareWindow_ = new share::ShareWindow(sharing_, window_.door(), &window_);
    }
    return *shareWindow_;
}

void Tools::startNetworkServer(const share::ListenAddress& address)
{
    if (const std::string warning = share::exposureWarning(address); !warning.empty()) {
        message_(&window_, QString::fromStdString(warning), {});
    }
    if (const std::string error = sharing_.startNetworkServer(address); !error.empty()) {
        message_(&window_,
                 QStringLiteral("The Hamlib network server could not listen on %1:%2.")
                     .arg(QString::fromStdString(address.host))
                     .arg(address.port),
                 QString::fromStdString(error));
    }
}

void Tools::toggleNetworkServer()
{
    const share::SharedService* const server = sharing_.networkServer();
    if (server && server->running()) {
        sharing_.stopNetworkServer();
    } else {
        startNetworkServer(sharing_.networkServerAddress());
    }
}
