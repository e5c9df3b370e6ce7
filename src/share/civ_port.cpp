// The CI-V port's terminal started and stopped, its program's frames in, the line's out.
#include "share/civ_port.h"

#include "platform/logging.h"
#include "platform/pseudo_terminal.h"

#include <cstdio>

namespace share {

CivPort::CivPort(line::Door& door, QObject* parent)
    : QObject(parent)
    , door_(door)
    , terminal_(new platform::PseudoTerminal(this))
{
    connect(terminal_, &platform::PseudoTerminal::received, this, [this](const QByteArray& bytes) {
        if (router_) {
            router_->fromProgram(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size())));
        }
    });
    connect(terminal_, &platform::PseudoTerminal::allClosed, this, &CivPort::freshRouter);
    connect(&door_.taps(), &line::Taps::frame, this, &CivPort::heard);
    connect(&door_.taps(), &line::Taps::ticked, this, [this] {
        if (router_) {
            router_->ticked();
        }
    });
}

CivPort::~CivPort() = default;

QString CivPort::start(const QString& path)
{
    router_.reset();
    const QString error = terminal_->open(path);
    if (!error.isEmpty()) {
        qCWarning(lcShare).noquote() << "CI-V port:" << error;
        return error;
    }
    freshRouter();
    return {};
}

void CivPort::freshRouter()
{
    const line::Origin origin{line::Source::CivPort, nextClient_++,
                              terminal_->linkPath().toStdString()};
    router_ = std::make_unique<CivPortRouter>(door_, origin);
}

std::string CivPort::where() const
{
    return terminal_->linkPath().toStdString();
}

bool CivPort::running() const
{
    return terminal_->isOpen();
}

std::vector<ClientInfo> CivPort::clients() const
{
    if (!router_ || !router_->heardFromProgram()) {
        return {};
    }
    std::string name = router_->origin().label + " (controller";
    for (const int address : router_->controllers()) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", address);
        name += hex;
    }
    const CivPortCounts counts = router_->counts();
    return {{router_->origin().client, name + ")", counts.sent, counts.answered, counts.dropped}};
}

void CivPort::stopClient(std::uint32_t id)
{
    if (router_ && router_->origin().client == id) {
        start(terminal_->linkPath());
    }
}

void CivPort::stop()
{
    router_.reset();
    terminal_->close();
}

void CivPort::heard(const line::FrameEvent& event)
{
    if (!router_) {
        return;
    }
    const std::vector<std::uint8_t> bytes = router_->toProgram(event);
    if (!bytes.empty()) {
        terminal_->write(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<qsizetype>(bytes.size())));
    }
}

} // namespace share
