// The ways other programs reach the radio: started, stopped and listed.
#include "share/sharing.h"

#include "platform/client_listener.h"
#include "share/civ_port.h"
#include "share/rigctl_server.h"

namespace share {

Sharing::Sharing(line::Door& door)
    : door_(door)
    , civPort_(new CivPort(door, this))
{
    services_.push_back(civPort_);
}

Sharing::~Sharing() = default;

QString Sharing::startCivPort(const QString& path)
{
    civPortPath_ = path;
    civPortError_ = civPort_->start(path);
    emit civPortChanged();
    return civPortError_;
}

std::string Sharing::startNetworkServer(const ListenAddress& address,
                                        std::unique_ptr<platform::ClientListener> bound)
{
    std::erase(services_, server_.get());
    server_.reset();
    serverAddress_ = address;
    auto server =
        std::make_unique<RigctlServer>(door_, bound ? std::move(bound) : platform::newTcpListener(),
                                       [this] { return door_.now(); });
    if (const auto error = server->start(address.host, address.port)) {
        emit networkServerChanged(false);
        return *error;
    }
    server_ = std::move(server);
    services_.push_back(server_.get());
    emit networkServerChanged(true);
    return {};
}

void Sharing::stopNetworkServer()
{
    std::erase(services_, server_.get());
    server_.reset();
    emit networkServerChanged(false);
}

SharedService* Sharing::networkServer() const
{
    return server_.get();
}

std::string Sharing::networkServerWhere() const
{
    return server_ && server_->running() ? server_->where() : listenAddressText(serverAddress_);
}

void Sharing::stop(SharedService& service, std::optional<std::uint32_t> client)
{
    if (client) {
        service.stopClient(*client);
    } else {
        service.stop();
    }
    emit networkServerChanged(server_ && server_->running());
}

} // namespace share
