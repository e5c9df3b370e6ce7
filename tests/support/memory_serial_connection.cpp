// A port in memory, for tests.
#include "memory_serial_connection.h"

#include <utility>

namespace platform {

bool MemorySerialConnection::open(const QString& location, int baudRate)
{
    open_ = false;
    if (!acceptOpen) {
        openError_ = refusal;
        errorString_ = QStringLiteral("No such file or directory");
        return false;
    }
    openError_ = OpenError::None;
    open_ = true;
    openedLocations.append(location);
    openedRates.append(baudRate);
    return true;
}

QByteArray MemorySerialConnection::readAvailable()
{
    ++reads;
    if (failPending_ && open_) {
        failPending_ = false;
        open_ = false;
        failure_ = ConnectionFailure{failKind_, errorString_};
    }
    if (!open_) {
        return {};
    }
    return std::exchange(incoming_, {});
}

void MemorySerialConnection::write(QByteArrayView bytes)
{
    if (open_ && !bytes.isEmpty()) {
        writes.append(bytes.toByteArray());
    }
}

void MemorySerialConnection::fail(const QString& reason, ConnectionFailure::Kind kind)
{
    errorString_ = reason;
    failKind_ = kind;
    failPending_ = true;
}

std::optional<ConnectionFailure> MemorySerialConnection::takeFailure()
{
    return std::exchange(failure_, std::nullopt);
}

} // namespace platform
