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

namespace {

// Said below "could not listen" when another program has the address.
QString inUseAdvice(std::uint16_t port)
{
    return QStringLiteral(
               "Another program may be listening on port %1 already: rigctld, or another copy of "
               "this program. Stop it, or choose another port (%2, say) under Tools > Share..., "
               "start the server there and give that port to the programs that connect.")
        .arg(port)
        .arg(port == 65535 ? 4533 : port + 1);
}

} // namespace

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
    connect(&sharing_, &share::Sharing::networkServerChanged, menu, [this, menu](bool running) {
        menu->showNetworkServer(running, QString::fromStdString(sharing_.networkServerWhere()));
    });
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
        connect(shareWindow_, &share::ShareWindow::networkServerAsked, this,
                [this](const share::ListenAddress& address) { startNetworkServer(address); });
    }
    return *shareWindow_;
}

void Tools::startNetworkServer(const share::ListenAddress& address,
                               std::unique_ptr<platform::ClientListener> bound)
{
    if (const std::string warning = share::exposureWarning(address); !warning.empty()) {
        message_(&window_, QString::fromStdString(warning), {});
    }
    const std::string error = sharing_.startNetworkServer(address, std::move(bound));
    if (error.empty()) {
        return;
    }
    QString detail = QString::fromStdString(error);
    if (error == platform::kAddressInUse) {
        detail += QStringLiteral(".\n\n") + inUseAdvice(address.port);
    }
    message_(&window_,
             QStringLiteral("The Hamlib network server could not listen on %1.")
                 .arg(QString::fromStdString(share::listenAddressText(address))),
             detail);
}

void Tools::startCivPort(const QString& path)
{
    const QString error = sharing_.startCivPort(path);
    if (!error.isEmpty()) {
        message_(&window_, QStringLiteral("The CI-V port could not be made at %1.").arg(path),
                 error);
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
