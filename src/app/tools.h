// The Tools menu: the windows beside the main one, and the sharing services they show.
#pragma once

#include "platform/client_listener.h"
#include "platform/services.h"
#include "share/rigctl_listen_address.h"

#include <QObject>
#include <memory>

class IcomWindow;

namespace check {
class CheckWindow;
}

namespace monitor {
class BusMonitorWindow;
}

namespace share {
class ShareWindow;
class Sharing;
} // namespace share

// Runs the Tools menu of the main window: the Bus Monitor, Check Interface and the Share
// window, each made hidden when first asked for and kept as the main window's child, and the
// Hamlib network server.
class Tools : public QObject {
    Q_OBJECT

public:
    Tools(IcomWindow& window, share::Sharing& sharing, platform::Services::Message message);

    share::ShareWindow& shareWindow();
    // The CI-V port at path; a box names the path when it cannot be made there.
    void startCivPort(const QString& path);
    // Warns first when others could reach it; a failure to listen is told, and leaves it off.
    // A listener bound at start-up is served where it is.
    void startNetworkServer(const share::ListenAddress& address,
                            std::unique_ptr<platform::ClientListener> bound = nullptr);

private:
    void showBusMonitor();
    void showCheckInterface();
    // Off when on; on again at the address it last had.
    void toggleNetworkServer();

    IcomWindow& window_;
    share::Sharing& sharing_;
    platform::Services::Message message_;
    monitor::BusMonitorWindow* busMonitor_ = nullptr;
    check::CheckWindow* checkWindow_ = nullptr;
    share::ShareWindow* shareWindow_ = nullptr;
};
