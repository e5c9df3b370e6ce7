// The TCP listener: the network server's socket, its clients and what they send.
#include "platform/client_listener.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <map>

namespace platform {

namespace {

// Keeps a flooding client's bytes in the kernel, where TCP slows it down, not in our memory.
constexpr qint64 kReadBuffer = 16 * 1024;

class TcpListener final : public ClientListener {
public:
    std::optional<std::string> listen(const std::string& address, std::uint16_t port) override
    {
        // Qt reads an address it cannot parse as "any": a name must have been resolved.
        const QHostAddress host(QString::fromStdString(address));
        if (host.isNull()) {
            return address + " is not an address.";
        }
        if (!server_.listen(host, port)) {
            return server_.serverError() == QAbstractSocket::AddressInUseError
                       ? std::string(kAddressInUse)
                       : server_.errorString().toStdString();
        }
        return std::nullopt;
    }

    void serve(Events events) override
    {
        events_ = std::move(events);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { accept(); });
        accept();
    }

    bool listening() const override { return server_.isListening(); }

    std::string address() const override
    {
        return server_.serverAddress().toString().toStdString() + ":" +
               std::to_string(server_.serverPort());
    }

    void close() override
    {
        server_.close();
        while (!sockets_.empty()) {
            drop(sockets_.begin()->first);
        }
    }

    void write(std::uint32_t client, std::string_view bytes) override
    {
        if (QTcpSocket* const s = socket(client)) {
            s->write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
    }

    std::size_t unsent(std::uint32_t client) const override
    {
        const auto it = sockets_.find(client);
        return it == sockets_.end() || !it->second
                   ? 0
                   : static_cast<std::size_t>(it->second->bytesToWrite());
    }

    void disconnect(std::uint32_t client, bool afterUnsent) override
    {
        QTcpSocket* const s = socket(client);
        if (s && afterUnsent) {
            s->disconnectFromHost();
        } else {
            drop(client);
        }
    }

private:
    void accept()
    {
        while (QTcpSocket* const s = server_.nextPendingConnection()) {
            const std::uint32_t id = nextId_++;
            s->setReadBufferSize(kReadBuffer);
            sockets_[id] = s;
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, id, s] {
                const QByteArray bytes = s->readAll();
                events_.received(id, std::string_view(bytes.constData(), bytes.size()));
            });
            QObject::connect(s, &QTcpSocket::disconnected, s, [this, id] { drop(id); });
            events_.connected(id, s->peerAddress().toString().toStdString() + ":" +
                                      std::to_string(s->peerPort()));
        }
    }

    QTcpSocket* socket(std::uint32_t client) const
    {
        const auto it = sockets_.find(client);
        return it == sockets_.end() ? nullptr : it->second.data();
    }

    void drop(std::uint32_t client)
    {
        const auto it = sockets_.find(client);
        if (it == sockets_.end()) {
            return;
        }
        const QPointer<QTcpSocket> s = it->second;
        sockets_.erase(it);
        if (s) {
            s->disconnect();
            s->abort();
            s->deleteLater();
        }
        events_.gone(client);
    }

    QTcpServer server_;
    Events events_;
    std::map<std::uint32_t, QPointer<QTcpSocket>> sockets_;
    std::uint32_t nextId_ = 1;
};

} // namespace

std::unique_ptr<ClientListener> newTcpListener()
{
    return std::make_unique<TcpListener>();
}

} // namespace platform
