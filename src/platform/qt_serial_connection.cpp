// A serial device: opened through Qt, read and written at its descriptor, and lost when gone.
#include "platform/qt_serial_connection.h"

#include "platform/logging.h"

#include <QFile>
#include <QSocketNotifier>
#include <utility>

#ifdef Q_OS_UNIX
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

OpenError classify(QSerialPort::SerialPortError error, const QString& location)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenError::NotFound;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        // Qt reports a held port and a forbidden one alike; the file's access tells them apart.
        return ::access(QFile::encodeName(location).constData(), R_OK | W_OK) == 0
                   ? OpenError::Busy
                   : OpenError::PermissionDenied;
#else
        return OpenError::PermissionDenied;
#endif
    default:
        return OpenError::Other;
    }
}

} // namespace

QtSerialConnection::QtSerialConnection()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { qtHolds_ = true; });
}

bool QtSerialConnection::open(const QString& location, int baudRate)
{
    close();
    failure_.reset();
    configuring_ = true;
    port_.setPortName(location);
    bool ok = port_.open(QIODevice::ReadWrite);
    ok = ok && port_.setBaudRate(baudRate) && port_.setDataBits(QSerialPort::Data8) &&
         port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
         port_.setFlowControl(QSerialPort::NoFlowControl);
    configuring_ = false;
    if (!ok) {
        errorString_ = port_.errorString();
        openError_ = classify(port_.error(), location);
        port_.close();
        qCWarning(lcSerial) << "cannot open" << location << "at" << baudRate << ":" << errorString_;
        return false;
    }
    openError_ = OpenError::None;
#ifdef Q_OS_UNIX
    // The pump reads the descriptor itself at every tick. Qt's read notifier would add the
    // line to every wait of the event loop and wake it for the first byte that arrives, so it
    // is switched off; should Qt switch it on again, it stops after one byte.
    port_.setReadBufferSize(1);
    for (QSocketNotifier* notifier : port_.findChildren<QSocketNotifier*>()) {
        if (notifier->type() == QSocketNotifier::Read) {
            notifier->setEnabled(false);
        }
    }
    fd_ = int(port_.handle());
    qtHolds_ = false;
#endif
    qCInfo(lcSerial) << "opened" << location << "at" << baudRate << "bit/s";
    return true;
}

void QtSerialConnection::close()
{
    fd_ = -1;
    if (port_.isOpen()) {
        port_.close();
    }
}

QByteArray QtSerialConnection::readAvailable()
{
#ifdef Q_OS_UNIX
    if (fd_ < 0) {
        return {};
    }
    // First what Qt has taken in, should it have, then what the system holds now.
    QByteArray bytes;
    if (std::exchange(qtHolds_, false)) {
        bytes = port_.read(port_.bytesAvailable());
    }
    // Most reads find the line quiet: asking how many bytes wait says so in one call, where an
    // empty read would need a settings query too to tell quiet from hung up. A hung-up line
    // refuses the question and goes on to the read.
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) == 0 && waiting == 0) {
        return bytes;
    }
    std::array<char, 4096> buffer{};
    ssize_t n = 0;
    do {
        n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) {
            bytes.append(buffer.data(), n);
        }
    } while (n > 0 || (n < 0 && errno == EINTR));
    const int error = n < 0 ? errno : 0;
    // The line is set to return at once, so an empty read is also what a hung-up tty gives.
    const bool drained = n == 0 ? !hungUp() : error == EAGAIN;
    if (!drained) {
        lose(QString::fromLocal8Bit(std::strerror(error)));
    }
    return bytes;
#else
    if (!port_.isOpen()) {
        return {};
    }
    // Pull in what the system holds right now, not only what the event loop has seen.
    if (port_.bytesAvailable() == 0) {
        port_.waitForReadyRead(0);
    }
    return port_.isOpen() ? port_.readAll() : QByteArray();
#endif
}

void QtSerialConnection::write(QByteArrayView bytes)
{
    if (!port_.isOpen() || bytes.isEmpty()) {
        return;
    }
#ifdef Q_OS_UNIX
    // Written at once, while Qt holds nothing back, rather than from a write notifier that
    // wakes the event loop twice more for every frame; what the line does not take now, Qt
    // writes when it can, in order.
    while (fd_ >= 0 && port_.bytesToWrite() == 0 && !bytes.isEmpty()) {
        const ssize_t n = ::write(fd_, bytes.data(), static_cast<std::size_t>(bytes.size()));
        const int error = n < 0 ? errno : 0;
        if (n > 0) {
            bytes = bytes.sliced(n);
        } else if (error == EINTR) {
            continue;
        } else if (error != 0 && error != EAGAIN) {
            lose(QString::fromLocal8Bit(std::strerror(error)));
            return;
        } else {
            break;
        }
    }
    if (bytes.isEmpty()) {
        return;
    }
#endif
    port_.write(bytes.data(), bytes.size());
}

std::optional<ConnectionFailure> QtSerialConnection::takeFailure()
{
    return std::exchange(failure_, std::nullopt);
}

bool QtSerialConnection::hungUp() const
{
#ifdef Q_OS_UNIX
    // A hung-up tty reads as end of file and Qt then quotes a stale errno; the descriptor
    // refusing even a settings read is what tells a vanished device apart.
    termios settings{};
    return ::tcgetattr(int(port_.handle()), &settings) != 0;
#else
    return false;
#endif
}

void QtSerialConnection::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || configuring_ ||
        !port_.isOpen()) {
        return;
    }
    lose(port_.errorString());
}

void QtSerialConnection::lose(const QString& reason)
{
    // A vanished device fails every call in its own way; what happened is the same.
    errorString_ = hungUp() ? QStringLiteral("the device was disconnected") : reason;
    qCWarning(lcSerial) << port_.portName() << "failed:" << errorString_;
    fd_ = -1;
    // Closing from inside the port's own signal is safe; later reads then return nothing.
    port_.close();
    failure_ = ConnectionFailure{ConnectionFailure::Kind::Lost, errorString_};
}

} // namespace platform
