// The system's serial ports, in the order the port pop-up lists them.
#include "platform/services.h"

#include "platform/natural_order.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace platform {

QList<PortEntry> systemPorts(const QStringList& extraPorts)
{
    QList<PortEntry> ports;
    for (const QString& location : extraPorts) {
        ports.append({location, location});
    }
    QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    std::sort(infos.begin(), infos.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return naturalLess(a.systemLocation().toStdString(), b.systemLocation().toStdString());
    });
    for (const QSerialPortInfo& info : infos) {
        const QString location = info.systemLocation();
        const QString description = info.description();
        const QString name =
            description.isEmpty() ? location : QStringLiteral("%1 (%2)").arg(location, description);
        // A named port the system lists too keeps its place, with the system's name for it.
        const auto named = std::find_if(ports.begin(), ports.end(),
                                        [&](const PortEntry& p) { return p.location == location; });
        if (named != ports.end()) {
            named->displayName = name;
        } else {
            ports.append({name, location});
        }
    }
    return ports;
}

} // namespace platform
