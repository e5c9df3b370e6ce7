// The window's side of the interface check: its port, its poll and its two settings.
#include "app/app.h"
#include "check/check_window.h"
#include "platform/logging.h"
#include "platform/tcp_connection.h"
#include "serial/baud_rates.h"
#include "ui/icom_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void IcomWindow::showCheckInterface()
{
    if (!checkWindow_) {
        checkWindow_ = new check::CheckWindow(*this, Timer1->interval());
        // After Timer1_Action, which was connected first: the check sees each tick complete.
        connect(Timer1, &QTimer::timeout, checkWindow_, &check::CheckWindow::tick);
        connect(this, &IcomWindow::bytesReceived, checkWindow_, &check::CheckWindow::received);
        connect(this, &IcomWindow::bytesSent, checkWindow_, &check::CheckWindow::sent);
    }
    checkWindow_->show();
    checkWindow_->raise();
    checkWindow_->activateWindow();
}

check::Setup IcomWindow::checkSetup() const
{
    check::Setup setup;
    const int port = app_.ourSerialPort;
    if (port >= 0 && port < ports_.size()) {
        const QString& location = ports_.at(port).location;
        setup.port = location.toStdString();
        setup.network = platform::TcpConnection::isTcpLocation(location);
    }
    setup.baudCode = BaudPopup->currentIndex();
    setup.ourId = ourAddress();
    setup.radioId = radioAddress();
    return setup;
}

bool IcomWindow::pausePollForCheck()
{
    // A disabled search button is what pauses the poll; a search holds it already.
    if (!FindRadiosButton->isEnabled()) {
        return false;
    }
    FindRadiosButton->setEnabled(false);
    return true;
}

platform::OpenError IcomWindow::reopenForCheck(int rate)
{
    const int port = app_.ourSerialPort;
    if (port < 0 || port >= ports_.size()) {
        return platform::OpenError::NotFound;
    }
    Serial1->close();
    Serial1->open(ports_.at(port).location, rate);
    return Serial1->openError();
}

void IcomWindow::endCheck()
{
    const int rate = serial::baudRateForCode(BaudPopup->currentIndex());
    // A port the check could not open has had its failure told in the check's report.
    const bool wasOpen = Serial1->isOpen();
    if (reopenForCheck(rate) == platform::OpenError::None) {
        untell(radio::Notice::LostPort);
    } else if (wasOpen) {
        const QString text = tr("After the check the port did not open again at %1 bit/s: %2.")
                                 .arg(rate)
                                 .arg(Serial1->errorString());
        qCWarning(lcCheck).noquote() << text;
        tell(radio::Notice::LostPort, text);
    }
    // The poll starts afresh: what went unanswered during the check says nothing.
    forgetSilence();
    FindRadiosButton->setEnabled(true);
}

void IcomWindow::useCheckSettings(int baudCode, int address)
{
    EditRadioID->setText(QString::number(address));
    // Re-opens the port through the pop-up's change handler, as the operator's choice would.
    BaudPopup->setCurrentIndex(baudCode);
}
