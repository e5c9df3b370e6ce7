// The system's own services, its modal message box among them.
#pragma once

#include "platform/services.h"

namespace platform {

// extraPorts come first among the ports, in the order given, then the system's serial ports.
Services systemServices(const QStringList& extraPorts);
void showModalMessage(QWidget* parent, const QString& text, const QString& detail);

} // namespace platform
