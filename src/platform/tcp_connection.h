// Network ports: a serial-to-network server reached over TCP as if it were a serial line.
#pragma once

#include "platform/serial_connection.h"

#include <QTcpSocket>
#include <QTimer>

namespace platform {

// A port at a serial-to-network server that passes the raw byte stream, named
// tcp://HOST:PORT. Connecting never blocks; the line rate belongs to the far side.
class TcpConnection final : public SerialConnection {
public:
    static constexpr int kConnectTimeoutMs = 5000;

    TcpConnection();

    static bool isTcpLocation(const QString& location);

    bool open(const QString& location, int baudRate) override;
    void close() override;
    bool isOpen() const override;
    QByteArray readAvailable() override;
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return errorString_; }
    OpenError openError() const override { return openError_; }
    std::optional<ConnectionFailure> takeFailure() override;

private:
    void fail(const QString& reason);

    QTcpSocket socket_;
    QTimer connectTimer_;
    QString location_;
    QString errorString_;
    OpenError openError_ = OpenError::None;
    std::optional<ConnectionFailure> failure_;
};

} // namespace platform
