// Each open hands the location to a serial or a network connection, and the rest follows it.
#include "platform/port_connection.h"

#include "platform/qt_serial_connection.h"
#include "platform/tcp_connection.h"

namespace platform {

bool PortConnection::open(const QString& location, int baudRate)
{
    active_.reset();
    if (TcpConnection::isTcpLocation(location)) {
        active_ = std::make_unique<TcpConnection>();
    } else {
        active_ = std::make_unique<QtSerialConnection>();
    }
    return active_->open(location, baudRate);
}

void PortConnection::close()
{
    if (active_) {
        active_->close();
    }
}

void PortConnection::write(QByteArrayView bytes)
{
    if (active_) {
        active_->write(bytes);
    }
}

std::optional<ConnectionFailure> PortConnection::takeFailure()
{
    return active_ ? active_->takeFailure() : std::nullopt;
}

} // namespace platform
