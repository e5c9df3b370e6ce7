#pragma once

#include "platform/serial_connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace platform {

// What the window needs from the system, gathered so tests can put in their own.
struct Services {
    std::function<QList<PortEntry>()> listPorts;
    std::function<std::unique_ptr<SerialConnection>()> newConnection;
    // Modal: returns once the operator has dismissed it.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    QString debugFileName = QStringLiteral("DEBUG.TXT");
};

// extraPorts come first, in the order given, then the system's serial ports.
Services systemServices(const QStringList& extraPorts);
QList<PortEntry> systemPorts(const QStringList& extraPorts);
void showModalMessage(QWidget* parent, const QString& text);

} // namespace platform
