// The window's serial link: port choice, the receive pump and the paced transmit side.
#include "app/app.h"
#include "platform/logging.h"
#include "platform/text_numbers.h"
#include "serial/baud_rates.h"
#include "serial/queue_status.h"
#include "ui/icom_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextCursor>

namespace {
constexpr int kDataDisplayKeep = 500;
}

void IcomWindow::SerialPopup_Open()
{
    Serial1 = services_.newConnection();
    ports_ = services_.listPorts();
    {
        // Rows are listed, not chosen: no row is selected until init picks the first.
        const QSignalBlocker blocker(SerialPopup);
        for (const platform::PortEntry& port : ports_) {
            SerialPopup->addItem(port.displayName);
        }
        SerialPopup->setCurrentIndex(-1);
    }
    if (app_.ourSerialPort < SerialPopup->count()) {
        SetSerialStuff(app_.ourSerialPort, BaudPopup->currentIndex());
    }
}

void IcomWindow::SerialPopup_Change()
{
    app_.ourSerialPort = SerialPopup->currentIndex();
    if (app_.ourSerialPort < SerialPopup->count()) {
        SetSerialStuff(app_.ourSerialPort, BaudPopup->currentIndex());
    }
}

void IcomWindow::BaudPopup_Change()
{
    SerialPopup_Change();
}

void IcomWindow::SetSerialStuff(int port, int baud)
{
    if (port < 0 || port >= ports_.size()) {
        return;
    }
    Serial1->close();
    statusBar()->clearMessage();
    const platform::PortEntry& entry = ports_.at(port);
    if (!Serial1->open(entry.location, serial::baudRateForCode(baud))) {
        services_.showMessage(this, QStringLiteral("Failure to open serial  port!!"));
    }
}

void IcomWindow::Timer1_Action()
{
    CheckSerial();
    DoSerialOut();
    CheckSerial();
    CheckSerial();
    StaticBuf->setText(serial::queueStatusText(transmitQueue.serialBufHead,
                                               transmitQueue.serialBufTail, transmitQueue.queued(),
                                               transmitQueue.sendDelay));
}

void IcomWindow::CheckSerial()
{
    const QByteArray chunk = Serial1->readAvailable();
    if (const auto failure = Serial1->takeFailure()) {
        reportConnectionFailure(*failure);
    }
    if (chunk.isEmpty()) {
        return;
    }
    emit bytesReceived(chunk);
    const QString hex = platform::hexText(chunk);
    for (const char byte : chunk) {
        ParseByte(static_cast<unsigned char>(byte));
    }
    if (ShowDataCheck->isChecked()) {
        appendToDataDisplay(hex);
    }
    if (DebugCheckBox->isChecked()) {
        AddToDebugFile(hex);
    }
}

void IcomWindow::appendToDataDisplay(const QString& text)
{
    QTextCursor cursor(EditField1->document());
    // One edit block: the trim and the append are laid out once, not twice.
    cursor.beginEditBlock();
    const int length = EditField1->document()->characterCount() - 1;
    if (length > kDataDisplayKeep) {
        cursor.setPosition(0);
        cursor.setPosition(length - kDataDisplayKeep, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    cursor.endEditBlock();
}

void IcomWindow::reportConnectionFailure(const platform::ConnectionFailure& failure)
{
    const int port = app_.ourSerialPort;
    const QString name = port >= 0 && port < ports_.size() ? ports_.at(port).location : QString();
    if (failure.kind == platform::ConnectionFailure::Kind::OpenFailed) {
        services_.showMessage(this, QStringLiteral("Failure to open serial  port!!"));
        return;
    }
    const QString text =
        tr("Lost %1: %2. Choose the port again once it is back.").arg(name, failure.reason);
    qCWarning(lcSerial).noquote() << text;
    statusBar()->showMessage(text);
}

bool IcomWindow::SendSerialPacket(const civ::Frame& s)
{
    if (transmitQueue.SendSerialPacket(s)) {
        return true;
    }
    qCWarning(lcSerial) << "transmit queue full: frame of" << s.size() << "bytes refused,"
                        << transmitQueue.queued() << "bytes waiting";
    return false;
}

void IcomWindow::DoSerialOut()
{
    const civ::Frame out = transmitQueue.DoSerialOut();
    if (!out.empty()) {
        const QByteArray bytes(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
        Serial1->write(bytes);
        emit bytesSent(bytes);
    }
}

void IcomWindow::AddToDebugFile(const QString& s)
{
    debugFile_.AddToDebugFile(s);
}
