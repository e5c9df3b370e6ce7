// The connection the window opens: whichever kind the chosen port's location names.
#pragma once

#include "platform/serial_connection.h"

#include <memory>

namespace platform {

// A serial device, or a network port named tcp://HOST:PORT: the location picks the kind at
// each open.
class PortConnection final : public SerialConnection {
public:
    bool open(const QString& location, int baudRate) override;
    void close() override;
    bool isOpen() const override { return active_ && active_->isOpen(); }
    QByteArray readAvailable() override
    {
        return active_ ? active_->readAvailable() : QByteArray();
    }
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return active_ ? active_->errorString() : QString(); }
    OpenError openError() const override
    {
        return active_ ? active_->openError() : OpenError::None;
    }
    std::optional<ConnectionFailure> takeFailure() override;

private:
    std::unique_ptr<SerialConnection> active_;
};

} // namespace platform
