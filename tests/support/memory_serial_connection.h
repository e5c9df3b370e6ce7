// A port in memory, for tests: what the program writes is kept, what the test feeds is read.
#pragma once

#include "platform/serial_connection.h"

#include <QList>
#include <QStringList>

namespace platform {

// A port in memory, for tests: what the program writes is kept, what the test feeds is read.
class MemorySerialConnection final : public SerialConnection {
public:
    bool open(const QString& location, int baudRate) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QByteArray readAvailable() override;
    void write(QByteArrayView bytes) override;
    QString errorString() const override { return errorString_; }
    OpenError openError() const override { return openError_; }
    std::optional<ConnectionFailure> takeFailure() override;

    void feed(QByteArrayView bytes) { incoming_.append(bytes); }
    // The peer goes away (or, as a network port's late open, never came): the next read
    // reports it.
    void fail(const QString& reason, ConnectionFailure::Kind kind = ConnectionFailure::Kind::Lost);

    bool acceptOpen = true;
    OpenError refusal = OpenError::NotFound;
    QStringList openedLocations;
    QList<int> openedRates;
    QList<QByteArray> writes;
    int reads = 0;

private:
    bool open_ = false;
    QByteArray incoming_;
    QString errorString_;
    OpenError openError_ = OpenError::None;
    std::optional<ConnectionFailure> failure_;
    bool failPending_ = false;
    ConnectionFailure::Kind failKind_ = ConnectionFailure::Kind::Lost;
};

} // namespace platform
