// The window's side of the narrow door: what the additions may ask of the line, and the
// additions' windows, each made when first asked for.
#include "app/app.h"
#include "check/check_window.h"
#include "monitor/bus_monitor_window.h"
#include "platform/logging.h"
#include "platform/tcp_connection.h"
#include "serial/baud_rates.h"
#include "share/share_window.h"
#include "ui/controls.h"
#include "ui/icom_window.h"
#include "ui/menu_bar.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void IcomWindow::showBusMonitor()
{
    if (!busMonitor_) {
        busMonitor_ = new monitor::BusMonitorWindow(*this);
    }
    ui::bringUp(busMonitor_);
}

void IcomWindow::showCheckInterface()
{
    if (!checkWindow_) {
        checkWindow_ = new check::CheckWindow(*this, Timer1->interval());
    }
    ui::bringUp(checkWindow_);
}

share::ShareWindow& IcomWindow::shareWindow()
{
    if (!shareWindow_) {
        shareWindow_ = new share::ShareWindow(*this, services_.showMessage);
        connect(shareWindow_, &share::ShareWindow::networkServerChanged, menuBar1(),
                &MenuBar1::showNetworkServer);
    }
    return *shareWindow_;
}

line::Settings IcomWindow::settings() const
{
    line::Settings settings;
    const int port = app_.ourSerialPort;
    if (port >= 0 && port < ports_.size()) {
        const QString& location = ports_.at(port).location;
        settings.port = location.toStdString();
        settings.network = platform::TcpConnection::isTcpLocation(location);
    }
    settings.baudCode = BaudPopup->currentIndex();
    settings.rate = serial::baudRateForCode(settings.baudCode);
    settings.ourId = ourAddress();
    settings.radioId = radioAddress();
    return settings;
}

std::optional<std::uint64_t> IcomWindow::send(const civ::Frame& frame, const line::Origin& origin)
{
    return enqueue(frame, origin);
}

bool IcomWindow::pausePoll()
{
    // A disabled search button is what pauses the poll; a search holds it already.
    if (!FindRadiosButton->isEnabled()) {
        return false;
    }
    FindRadiosButton->setEnabled(false);
    return true;
}

platform::OpenError IcomWindow::reopen(int rate)
{
    const int port = app_.ourSerialPort;
    if (port < 0 || port >= ports_.size()) {
        return platform::OpenError::NotFound;
    }
    openPort(ports_.at(port).location, rate);
    return Serial1->openError();
}

void IcomWindow::restore()
{
    if (reopen(serial::baudRateForCode(BaudPopup->currentIndex())) != platform::OpenError::None) {
        qCWarning(lcCheck).noquote()
            << QString::fromStdString(radio::portText(account_.port()).text);
    }
    // The poll starts afresh: what went unanswered during the check says nothing.
    setDisplaysLive(false);
    FindRadiosButton->setEnabled(true);
    forgetSilence();
}

void IcomWindow::useSettings(int baudCode, int radioId)
{
    EditRadioID->setText(QString::number(radioId));
    // Re-opens the port through the pop-up's change handler, as the operator's choice would.
    BaudPopup->setCurrentIndex(baudCode);
}
