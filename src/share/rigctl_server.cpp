// The network server started and stopped, its clients taken in, heard and answered.
#include "share/rigctl_server.h"

#include "platform/logging.h"
#include "share/rigctl_listen_address.h"

namespace share {

RigctlServer::RigctlServer(line::Door& door, std::unique_ptr<platform::ClientListener> listener,
                           std::function<line::Millis()> clock)
    : listener_(std::move(listener))
    , scheduler_(door, std::move(clock), clients_, [this](std::uint32_t id) { flush(id); })
{}

RigctlServer::~RigctlServer()
{
    stop();
}

std::optional<std::string> RigctlServer::start(const std::string& host, std::uint16_t port)
{
    std::optional<std::string> error;
    if (!listener_->listening()) {
        const auto address = resolveListenHost(host);
        error =
            address ? listener_->listen(*address, port) : "No address is known for " + host + ".";
    }
    if (error) {
        qCWarning(lcApp) << "Hamlib network server:" << error->c_str();
        return error;
    }
    platform::ClientListener::Events events;
    events.connected = [this](std::uint32_t id, const std::string& label) { connected(id, label); };
    events.received = [this](std::uint32_t id, std::string_view bytes) { received(id, bytes); };
    events.gone = [this](std::uint32_t id) { clients_.erase(id); };
    listener_->serve(std::move(events));
    return std::nullopt;
}

std::string RigctlServer::where() const
{
    return listener_->address();
}

bool RigctlServer::running() const
{
    return listener_->listening();
}

std::vector<ClientInfo> RigctlServer::clients() const
{
    std::vector<ClientInfo> out;
    for (const auto& [id, client] : clients_) {
        // Its reads count as well as the frames sent for its sets.
        const RigctlSession::Reads reads = client->session.reads();
        out.push_back(client->info);
        out.back().framesSent += reads.asked;
        out.back().framesAnswered += reads.answered;
    }
    return out;
}

void RigctlServer::stopClient(std::uint32_t id)
{
    listener_->disconnect(id, false);
}

void RigctlServer::stop()
{
    listener_->close();
    clients_.clear();
}

void RigctlServer::connected(std::uint32_t id, const std::string& label)
{
    if (clients_.size() >= kMaxClients) {
        // Told why, as Hamlib's client reads an error, before the line is closed.
        ++refused_;
        listener_->write(id, "RPRT " + std::to_string(static_cast<int>(Rprt::BusBusy)) + "\n");
        listener_->disconnect(id, true);
        return;
    }
    auto client = std::make_unique<RigctlClient>(scheduler_.radio());
    client->info.id = id;
    client->info.name = label;
    clients_[id] = std::move(client);
}

void RigctlServer::received(std::uint32_t id, std::string_view bytes)
{
    const auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    it->second->session.receive(bytes);
    flush(id);
    scheduler_.serve();
}

void RigctlServer::flush(std::uint32_t id)
{
    const auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    RigctlSession& session = it->second->session;
    const std::string out = session.takeOutput();
    if (!out.empty()) {
        listener_->write(id, out);
    }
    if (session.quitting()) {
        listener_->disconnect(id, true);
    } else if (listener_->unsent(id) > kMaxUnsent) {
        qCInfo(lcApp) << "Hamlib network server: letting go of" << it->second->info.name.c_str()
                      << "which does not read its answers";
        listener_->disconnect(id, false);
    }
}

} // namespace share
