// What the program needs from the system, gathered so that tests can put in their own.
#pragma once

#include "platform/serial_connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace platform {

// What the window needs from the system, gathered so tests can put in their own.
struct Services {
    // Modal: returns once the operator has dismissed it. detail, when not empty, goes below text.
    using Message =
        std::function<void(QWidget* parent, const QString& text, const QString& detail)>;

    std::function<QList<PortEntry>()> listPorts;
    std::function<std::unique_ptr<SerialConnection>()> newConnection;
    Message showMessage;
    std::function<QTime()> timeOfDay = [] { return QTime::currentTime(); };
    // Milliseconds on a clock that never steps: what the link account is kept by.
    std::function<std::int64_t()> steadyMs = [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    QString debugFileName = QStringLiteral("DEBUG.TXT");
};

// extraPorts come first, in the order given, then the system's serial ports.
QList<PortEntry> systemPorts(const QStringList& extraPorts);

} // namespace platform
