// The ways other programs reach the radio, as the application keeps them.
#pragma once

#include "line/door.h"
#include "platform/client_listener.h"
#include "share/rigctl_listen_address.h"
#include "share/shared_service.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace share {

class CivPort;
class RigctlServer;

// The CI-V port and the Hamlib network server, each on the door. The application owns them, so
// they run whether or not the Share window that shows them was ever opened.
class Sharing : public QObject {
    Q_OBJECT

public:
    explicit Sharing(line::Door& door);
    ~Sharing() override;

    CivPort& civPort() { return *civPort_; }
    // Empty, or why not; either is kept for the Share window.
    QString startCivPort(const QString& path);
    const QString& civPortPath() const { return civPortPath_; }
    const QString& civPortError() const { return civPortError_; }

    // Empty when it listens, else why not. The address is kept either way, for the next start.
    // A running server moves, hanging up its clients; a listener bound at start-up is served
    // where it is.
    std::string startNetworkServer(const ListenAddress& address,
                                   std::unique_ptr<platform::ClientListener> bound = nullptr);
    void stopNetworkServer();
    // Null while off.
    SharedService* networkServer() const;
    const ListenAddress& networkServerAddress() const { return serverAddress_; }
    // Where it listens while running, else where it would.
    std::string networkServerWhere() const;

    // Each way in, in the order the Share window lists them.
    const std::vector<SharedService*>& services() const { return services_; }
    // A service, or one program on it.
    void stop(SharedService& service, std::optional<std::uint32_t> client);

signals:
    void networkServerChanged(bool running);
    // The CI-V port was started, or failed to start.
    void civPortChanged();

private:
    line::Door& door_;
    CivPort* civPort_;
    std::unique_ptr<RigctlServer> server_;
    ListenAddress serverAddress_;
    std::vector<SharedService*> services_;
    QString civPortPath_;
    QString civPortError_;
};

} // namespace share
