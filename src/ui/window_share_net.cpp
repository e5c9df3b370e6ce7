// The Hamlib network server beside the main window: started from --rigctld or from Tools.
#include "platform/client_listener.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QAction>

void IcomWindow::startNetworkServer(const share::ListenAddress& address)
{
    rigctldAddress_ = address;
    const std::string warning = share::exposureWarning(address);
    if (!warning.empty()) {
        services_.showMessage(this, QString::fromStdString(warning), {});
    }
    auto server = std::make_unique<share::RigctlServer>(*this, platform::newTcpListener(),
                                                        [this] { return now(); });
    if (const auto error = server->start(address.host, address.port)) {
        services_.showMessage(this,
                              QStringLiteral("The Hamlib network server could not listen on %1:%2.")
                                  .arg(QString::fromStdString(address.host))
                                  .arg(address.port),
                              QString::fromStdString(*error));
    } else {
        rigctld_ = std::move(server);
    }
    menuBar1()->networkServerAction()->setChecked(rigctld_ != nullptr);
}

void IcomWindow::toggleNetworkServer()
{
    if (rigctld_) {
        rigctld_.reset();
        menuBar1()->networkServerAction()->setChecked(false);
    } else {
        startNetworkServer(rigctldAddress_);
    }
}
