#pragma once

#include "line/door.h"
#include "platform/client_listener.h"
#include "share/rigctl_radio_state.h"
#include "share/rigctl_session.h"
#include "share/shared_service.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>

namespace share {

// Hamlib's network protocol for other programs, through the main window's ring. One of the
// server's frames is in the ring at a time, so the window's polls never wait behind clients.
class RigctlServer final : public SharedService {
public:
    static constexpr std::size_t kMaxClients = 8;
    // A client that leaves this much of its answers unread is let go.
    static constexpr std::size_t kMaxUnsent = 256 * 1024;
    // While clients are connected, a value older than this is read again.
    static constexpr line::Millis kFreshMs = 1000;
    // From entering the ring to the answer; Hamlib's client waits a little longer.
    static constexpr line::Millis kGiveUpMs = 3000;

    RigctlServer(line::Door& door, std::unique_ptr<platform::ClientListener> listener,
                 std::function<line::Millis()> clock);
    ~RigctlServer() override;

    // Nothing on success, else why it could not listen.
    std::optional<std::string> start(const std::string& host, std::uint16_t port);
    const RadioState& radio() const { return radio_; }

    std::string title() const override { return "Hamlib network server"; }
    std::string where() const override;
    bool running() const override;
    std::vector<ClientInfo> clients() const override;
    void stopClient(std::uint32_t id) override;
    void stop() override;

private:
    struct Client {
        ClientInfo info;
        RigctlSession session;
    };
    struct InFlight {
        std::uint64_t id = 0;
        Action action;
        std::uint32_t client = 0; // 0: a read for every client
        line::Millis queuedAt = 0;
        std::optional<line::Millis> sentAt;
    };

    void connected(std::uint32_t id, const std::string& label);
    void received(std::uint32_t id, std::string_view bytes);
    void frame(const line::FrameEvent& event);
    void ticked();

    void serve();
    std::optional<Action> nextRead() const;
    void complete(Outcome outcome);
    // Waiting reads whose value has come in.
    void answerReads();
    void flush(std::uint32_t id);
    ClientInfo* info(std::uint32_t id);

    line::Door& door_;
    std::unique_ptr<platform::ClientListener> listener_;
    std::function<line::Millis()> clock_;
    QObject context_;
    RadioState radio_;
    std::map<std::uint32_t, std::unique_ptr<Client>> clients_;
    std::optional<InFlight> inFlight_;
    std::uint32_t lastServed_ = 0;
    bool pttUnreadable_ = false;
};

} // namespace share
