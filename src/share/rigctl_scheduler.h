// Which network client's frame goes to the radio when, and how long it may wait for its answer.
#pragma once

#include "line/door.h"
#include "share/rigctl_radio_state.h"
#include "share/rigctl_session.h"
#include "share/shared_service.h"

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace share {

// One program connected to the network server.
struct RigctlClient {
    explicit RigctlClient(const RadioState& radio)
        : session(radio)
    {}

    ClientInfo info;
    RigctlSession session;
};
using RigctlClients = std::map<std::uint32_t, std::unique_ptr<RigctlClient>>;

// Hands the clients' actions to the door's fast lane, one frame at a time, so the window's
// polls never wait behind clients; sets first, the clients taking turns, then reads.
class RigctlScheduler {
public:
    // While clients are connected, a value older than this is read again.
    static constexpr line::Millis kFreshMs = 1000;
    // From handing a frame to the door to the answer; Hamlib's client waits a little longer.
    static constexpr line::Millis kGiveUpMs = 3000;

    // answered(id) is called when a client's session has new output.
    RigctlScheduler(line::Door& door, std::function<line::Millis()> clock,
                    const RigctlClients& clients, std::function<void(std::uint32_t)> answered);

    const RadioState& radio() const { return radio_; }
    // Hands the next action to the door when none is out.
    void serve();

private:
    struct InFlight {
        std::uint64_t id = 0;
        Action action;
        std::uint32_t client = 0; // 0: a read for every client
        line::Millis queuedAt = 0;
        std::optional<line::Millis> sentAt;
    };

    void frame(const line::FrameEvent& event);
    void ticked();
    std::optional<Action> nextRead() const;
    void complete(Outcome outcome);
    // Waiting reads whose value has come in.
    void answerReads();
    ClientInfo* info(std::uint32_t id) const;

    line::Door& door_;
    std::function<line::Millis()> clock_;
    const RigctlClients& clients_;
    std::function<void(std::uint32_t)> answered_;
    QObject context_;
    RadioState radio_;
    std::optional<InFlight> inFlight_;
    std::uint32_t lastServed_ = 0;
    bool pttUnreadable_ = false;
};

} // namespace share
