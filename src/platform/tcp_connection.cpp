// The network port: connecting without blocking, the raw byte stream, and failures told once.
#include "platform/tcp_connection.h"

#include "platform/logging.h"

#include <QUrl>
#include <utility>

namespace platform {

TcpConnection::TcpConnection()
{
    connectTimer_.setSingleShot(true);
    connectTimer_.setInterval(kConnectTimeoutMs);
    QObject::connect(&connectTimer_, &QTimer::timeout, &socket_,
                     [this] { fail(QStringLiteral("no answer from the server")); });
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] {
        connectTimer_.stop();
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        qCInfo(lcSerial) << "connected to" << location_;
    });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, &socket_,
                     [this](QAbstractSocket::SocketError) { fail(socket_.errorString()); });
}

bool TcpConnection::isTcpLocation(const QString& location)
{
    return location.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}

bool TcpConnection::open(const QString& location, int /*baudRate*/)
{
    close();
    failure_.reset();
    location_ = location;
    openError_ = OpenError::None;
    const QUrl url(location);
    if (!url.isValid() || url.host().isEmpty() || url.port() <= 0) {
        openError_ = OpenError::NotFound;
        errorString_ = QStringLiteral("not a tcp://HOST:PORT address");
        return false;
    }
    socket_.connectToHost(url.host(), static_cast<quint16>(url.port()));
    connectTimer_.start();
    return true;
}

void TcpConnection::close()
{
    connectTimer_.stop();
    socket_.abort();
}

bool TcpConnection::isOpen() const
{
    return socket_.state() == QAbstractSocket::ConnectedState ||
           socket_.state() == QAbstractSocket::ConnectingState ||
           socket_.state() == QAbstractSocket::HostLookupState;
}

QByteArray TcpConnection::readAvailable()
{
    return socket_.state() == QAbstractSocket::ConnectedState ? socket_.readAll() : QByteArray();
}

void TcpConnection::write(QByteArrayView bytes)
{
    // While connecting the socket keeps what is written and sends it once connected.
    if (isOpen() && !bytes.isEmpty()) {
        socket_.write(bytes.data(), bytes.size());
    }
}

std::optional<ConnectionFailure> TcpConnection::takeFailure()
{
    return std::exchange(failure_, std::nullopt);
}

void TcpConnection::fail(const QString& reason)
{
    if (socket_.state() == QAbstractSocket::UnconnectedState && failure_) {
        return;
    }
    const bool wasConnected = socket_.state() == QAbstractSocket::ConnectedState;
    connectTimer_.stop();
    errorString_ = reason;
    socket_.abort();
    qCWarning(lcSerial) << location_ << (wasConnected ? "lost:" : "cannot connect:") << reason;
    failure_ = ConnectionFailure{
        wasConnected ? ConnectionFailure::Kind::Lost : ConnectionFailure::Kind::OpenFailed, reason};
}

} // namespace platform
