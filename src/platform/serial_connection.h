// What every kind of port gives: open, read, write and failures; and the pop-up's entries.
#pragma once

#include "platform/open_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace platform {

// One entry of the port pop-up: what the operator sees and what gets opened.
struct PortEntry {
    QString displayName;
    QString location;
};

// Something that went wrong with a connection after open() had returned.
struct ConnectionFailure {
    enum class Kind {
        OpenFailed, // an open that completes later (a network port) did not complete
        Lost        // an open port went away: a pulled adapter, a closed peer
    };
    Kind kind = Kind::Lost;
    QString reason;
};

// The program's one link to the bus. Nothing here blocks the GUI thread.
class SerialConnection {
public:
    virtual ~SerialConnection() = default;

    // Opens location at baudRate with 8 data bits, no parity, 1 stop bit and no flow control.
    // A rate the system refuses is a failed open. False on failure, errorString() says why.
    virtual bool open(const QString& location, int baudRate) = 0;
    // Harmless when not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // All bytes that have arrived, without waiting; empty when none or not open.
    virtual QByteArray readAvailable() = 0;
    // Nothing goes out when not open.
    virtual void write(QByteArrayView bytes) = 0;
    virtual QString errorString() const = 0;
    // Of the last failed open; None after a successful one.
    virtual OpenError openError() const = 0;
    // Each failure is handed out once; the connection is closed by then.
    virtual std::optional<ConnectionFailure> takeFailure() = 0;
};

} // namespace platform
