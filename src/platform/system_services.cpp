// The system's own services: its ports, its connections and its modal message box.
#include "platform/system_services.h"

#include "platform/port_connection.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void showModalMessage(QWidget* parent, const QString& text, const QString& detail)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    box.setInformativeText(detail);
    box.exec();
}

Services systemServices(const QStringList& extraPorts)
{
    Services services;
    services.listPorts = [extraPorts] { return systemPorts(extraPorts); };
    services.newConnection = [] { return std::make_unique<PortConnection>(); };
    services.showMessage = showModalMessage;
    return services;
}

} // namespace platform
