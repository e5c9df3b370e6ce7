// The CI-V port as a way in: its terminal, the program on it, and what passes through.
#pragma once

#include "line/door.h"
#include "share/civ_port_router.h"
#include "share/shared_service.h"

#include <QObject>
#include <QString>
#include <memory>

namespace platform {
class PseudoTerminal;
}

namespace share {

// The CI-V port for other programs: a pseudo-terminal at a path of the operator's choosing,
// which a program that speaks CI-V opens as if it were the radio.
class CivPort : public QObject, public SharedService {
public:
    CivPort(line::Door& door, QObject* parent);
    ~CivPort() override;

    // Empty, or why the port could not be made at path.
    QString start(const QString& path);

    std::string title() const override { return "CI-V port"; }
    std::string where() const override;
    bool running() const override;
    std::vector<ClientInfo> clients() const override;
    // Hangs up on the program: the port goes on at the same path, on a fresh terminal.
    void stopClient(std::uint32_t id) override;
    void stop() override;

private:
    void heard(const line::FrameEvent& event);
    // A router for the next program: the last one's row and counts go.
    void freshRouter();

    line::Door& door_;
    platform::PseudoTerminal* terminal_;
    std::unique_ptr<CivPortRouter> router_;
    std::uint32_t nextClient_ = 1;
};

} // namespace share
