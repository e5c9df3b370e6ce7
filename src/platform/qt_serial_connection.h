// A serial device, opened through Qt and read and written directly at each tick.
#pragma once

#include "platform/serial_connection.h"

#include <QSerialPort>

namespace platform {

class QtSerialConnection final : public SerialConnection {
public:
    QtSerialConnection();

    bool open(const QString& location, int baudRate) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    QByteArray readAvailable() override;
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return errorString_; }
    OpenError openError() const override { return openError_; }
    std::optional<ConnectionFailure> takeFailure() override;

private:
    void onError(QSerialPort::SerialPortError error);
    // The reason, unless the device itself went away.
    void lose(const QString& reason);
    bool hungUp() const;

    QSerialPort port_;
    // The open line's descriptor, read and written directly; -1 while closed.
    int fd_ = -1;
    // Qt took bytes in by itself and holds them.
    bool qtHolds_ = false;
    QString errorString_;
    OpenError openError_ = OpenError::None;
    std::optional<ConnectionFailure> failure_;
    bool configuring_ = false;
};

} // namespace platform
