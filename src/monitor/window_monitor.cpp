// The window's side of the bus monitor: one monitor window, made when first asked for.
#include "monitor/bus_monitor_window.h"
#include "ui/icom_window.h"

void IcomWindow::showBusMonitor()
{
    if (!busMonitor_) {
        busMonitor_ = new monitor::BusMonitorWindow(*this);
    }
    busMonitor_->show();
    busMonitor_->raise();
    busMonitor_->activateWindow();
}
