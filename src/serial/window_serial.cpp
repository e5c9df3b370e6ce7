// The window's serial link: port choice, the receive pump and the paced transmit side.
#include "app/app.h"
#include "platform/logging.h"
#include "platform/text_numbers.h"
#include "serial/baud_rates.h"
#include "serial/queue_status.h"
#include "ui/icom_window.h"
#include "ui/port_popup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

namespace {

constexpr int kDataDisplayKeep = 500;
// The queue status line is set at every tick but painted on one in five, 4 times a second;
// so is the data display while bytes keep arriving.
constexpr int kTicksPerPaint = 5;

constexpr QLatin1String kOpenFailure{"Failure to open serial  port!!"};

QString openFailureHint(platform::OpenError error)
{
    switch (error) {
    case platform::OpenError::PermissionDenied:
        return QObject::tr("Add your user to the dialout group (sudo adduser $USER dialout), then "
                           "log out and in again.");
    case platform::OpenError::Busy:
        return QObject::tr("Another program holds the port: close it, then choose the port again.");
    case platform::OpenError::NotFound:
        return QObject::tr("The device is gone: plug it in, then choose it again.");
    case platform::OpenError::None:
    case platform::OpenError::Other:
        break;
    }
    return {};
}

QString openFailureDetail(const QString& reason, platform::OpenError error)
{
    const QString hint = openFailureHint(error);
    return hint.isEmpty() ? reason : reason + QLatin1Char('\n') + hint;
}

} // namespace

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
    untell(radio::Notice::LostPort);
    forgetSilence();
    const platform::PortEntry& entry = ports_.at(port);
    if (!Serial1->open(entry.location, serial::baudRateForCode(baud))) {
        services_.showMessage(this, kOpenFailure,
                              openFailureDetail(Serial1->errorString(), Serial1->openError()));
    }
}

void IcomWindow::refreshPorts()
{
    const int selected = SerialPopup->currentIndex();
    QList<platform::PortEntry> ports = services_.listPorts();
    int row = -1;
    if (selected >= 0 && selected < ports_.size()) {
        const platform::PortEntry& open = ports_.at(selected);
        const auto same = [&open](const platform::PortEntry& p) {
            return p.location == open.location;
        };
        row = int(std::find_if(ports.cbegin(), ports.cend(), same) - ports.cbegin());
        // A selected port that the system no longer lists stays until another is chosen.
        if (row == ports.size()) {
            ports.append(open);
        }
        app_.ourSerialPort = row;
    }
    // Row i stands for port i again; the selected port keeps its row and is not re-opened.
    const QSignalBlocker blocker(SerialPopup);
    SerialPopup->clear();
    for (const platform::PortEntry& port : ports) {
        SerialPopup->addItem(port.displayName);
    }
    SerialPopup->setCurrentIndex(row);
    ports_ = std::move(ports);
}

void IcomWindow::Timer1_Action()
{
    statusTicks_ = (statusTicks_ + 1) % kTicksPerPaint;
    const bool paintTick = statusTicks_ == 0;
    CheckSerial();
    DoSerialOut();
    CheckSerial();
    CheckSerial();
    if (paintTick) {
        EditField1->viewport()->setUpdatesEnabled(true);
    }
    StaticBuf->setUpdatesEnabled(paintTick);
    StaticBuf->setText(serial::queueStatusText(transmitQueue.serialBufHead,
                                               transmitQueue.serialBufTail, transmitQueue.queued(),
                                               transmitQueue.sendDelay));
    emit taps_.ticked();
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
    emit taps_.received(chunk);
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
    // Bytes arriving at every tick would repaint the display 20 times a second; it catches up
    // on the next painting tick, and paints as usual once the line is quiet.
    if (statusTicks_ != 0) {
        EditField1->viewport()->setUpdatesEnabled(false);
    }
    // Follow the newest bytes, unless the operator has scrolled up to read older ones.
    QScrollBar* const scroll = EditField1->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    QTextCursor cursor(EditField1->document());
    // One edit block: the trim and the append are laid out once, not twice.
    cursor.beginEditBlock();
    const int length = EditField1->document()->characterCount() - 1;
    if (length > kDataDisplayKeep) {
        cursor.setPosition(0);
        cursor.setPosition(length - kDataDisplayKeep, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    // Not movePosition(End): that lays the block out again, which the paint does anyway.
    cursor.setPosition(EditField1->document()->characterCount() - 1);
    cursor.insertText(text);
    cursor.endEditBlock();
    if (following) {
        scroll->setValue(scroll->maximum());
    }
}

void IcomWindow::reportConnectionFailure(const platform::ConnectionFailure& failure)
{
    const int port = app_.ourSerialPort;
    const QString name = port >= 0 && port < ports_.size() ? ports_.at(port).location : QString();
    if (failure.kind == platform::ConnectionFailure::Kind::OpenFailed) {
        services_.showMessage(this, kOpenFailure,
                              openFailureDetail(failure.reason, platform::OpenError::Other));
        return;
    }
    const QString text =
        tr("Lost %1: %2. Choose the port again once it is back.").arg(name, failure.reason);
    qCWarning(lcSerial).noquote() << text;
    tell(radio::Notice::LostPort, text);
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
        emit taps_.written(bytes);
    }
}

void IcomWindow::AddToDebugFile(const QString& s)
{
    debugFile_.AddToDebugFile(s);
}

void IcomWindow::DebugCheckBox_Action()
{
    // Where a bare file name lands depends on the folder the program was started in.
    const QString path = QFileInfo(debugFile_.fileName()).absoluteFilePath();
    DebugCheckBox->setToolTip(path);
    if (DebugCheckBox->isChecked()) {
        tell(radio::Notice::Info, tr("Received bytes go to %1").arg(path));
    } else {
        untell(radio::Notice::Info);
    }
}
