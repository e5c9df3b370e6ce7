// The Hamlib network server as a sharing service: started, stopped, its clients listed.
#pragma once

#include "line/door.h"
#include "platform/client_listener.h"
#include "share/rigctl_scheduler.h"
#include "share/shared_service.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace share {

// Hamlib's network protocol for other programs: the listener's clients, each with its session,
// and the scheduler that takes their actions to the radio through the door.
class RigctlServer final : public SharedService {
public:
    static constexpr std::size_t kMaxClients = 8;
    // A client that leaves this much of its answers unread is let go.
    static constexpr std::size_t kMaxUnsent = 256 * 1024;

    // The listener may be bound already; start() then serves it where it is.
    RigctlServer(line::Door& door, std::unique_ptr<platform::ClientListener> listener,
                 std::function<line::Millis()> clock);
    ~RigctlServer() override;

    // Nothing on success, else why it could not listen. A host name is resolved first.
    std::optional<std::string> start(const std::string& host, std::uint16_t port);
    // Clients turned away because kMaxClients were connected.
    int refusedClients() const override { return refused_; }

    std::string title() const override { return "Hamlib network server"; }
    std::string where() const override;
    bool running() const override;
    std::vector<ClientInfo> clients() const override;
    void stopClient(std::uint32_t id) override;
    void stop() override;

private:
    void connected(std::uint32_t id, const std::string& label);
    void received(std::uint32_t id, std::string_view bytes);
    void flush(std::uint32_t id);

    std::unique_ptr<platform::ClientListener> listener_;
    // Before the clients, whose sessions read its radio state.
    RigctlScheduler scheduler_;
    RigctlClients clients_;
    int refused_ = 0;
};

} // namespace share
