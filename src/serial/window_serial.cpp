// The window's serial link: port choice, the receive pump and the paced transmit side.
#include "app/app.h"
#include "platform/logging.h"
#include "platform/tcp_connection.h"
#include "platform/text_numbers.h"
#include "radio/line_notices.h"
#include "serial/baud_rates.h"
#include "serial/open_failure.h"
#include "ui/data_display.h"
#include "ui/icom_window.h"
#include "ui/port_popup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <span>

namespace {

std::span<const std::uint8_t> byteSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

void IcomWindow::SerialPopup_Open()
{
    Serial1 = services_.newConnection();
    // Rows are listed, not chosen: no row is selected until init picks the first.
    ports_ = SerialPopup->relist(services_.listPorts(), std::nullopt);
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
    const line::PortStatus before = account_.port();
    const QString& location = ports_.at(port).location;
    account_.forgetSilence(radioAddress());
    // What the displays show was heard at the old rate or port.
    setDisplaysLive(false);
    // Start-up opens the port up to three times; one box is enough for a missing port.
    const bool told = starting_ && before.state == line::PortState::NeverOpened &&
                      before.port == location.toStdString();
    if (!openPort(location, serial::baudRateForCode(baud)) && !told) {
        services_.showMessage(
            this, serial::kOpenFailure,
            serial::openFailureDetail(location, openReason(), Serial1->openError()));
    }
    emit taps_.settingsChanged();
    updateLineNotices();
}

bool IcomWindow::openPort(const QString& location, int rate)
{
    Serial1->close();
    account_.portChosen(location.toStdString(), rate,
                        platform::TcpConnection::isTcpLocation(location), now());
    const bool opened = Serial1->open(location, rate);
    opened ? account_.portOpened(now()) : account_.portFailed(openReason().toStdString(), now());
    return opened;
}

QString IcomWindow::openReason() const
{
    // Qt words a held port as a locking error.
    return Serial1->openError() == platform::OpenError::Busy ? tr("busy: another program holds it")
                                                             : Serial1->errorString();
}

void IcomWindow::refreshPorts()
{
    const int selected = SerialPopup->currentIndex();
    const std::optional<platform::PortEntry> open = selected >= 0 && selected < ports_.size()
                                                        ? std::optional(ports_.at(selected))
                                                        : std::nullopt;
    ports_ = SerialPopup->relist(services_.listPorts(), open);
    if (open) {
        app_.ourSerialPort = SerialPopup->currentIndex();
    }
}

void IcomWindow::Timer1_Action()
{
    cadence_.tick();
    CheckSerial();
    DoSerialOut();
    CheckSerial();
    CheckSerial();
    const line::Millis at = now();
    account_.tick(at);
    publish();
    updateLineNotices(at);
    if (cadence_.dataPaintTick()) {
        EditField1->release();
    }
    cadence_.showStatus(*StaticBuf, transmitQueue);
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
    account_.received(byteSpan(chunk), now());
    emit taps_.received(chunk);
    const QString hex = platform::hexText(chunk);
    for (const char byte : chunk) {
        ParseByte(static_cast<unsigned char>(byte));
    }
    if (ShowDataCheck->isChecked()) {
        // Bytes at every tick would repaint the display 20 times a second; it catches up on
        // the next painting tick, and paints as usual once the line is quiet.
        EditField1->append(hex, !cadence_.dataPaintTick());
    }
    if (DebugCheckBox->isChecked()) {
        AddToDebugFile(hex);
    }
    publish();
}

void IcomWindow::publish()
{
    const std::vector<line::FrameEvent> events = account_.takeEvents();
    if (events.empty()) {
        return;
    }
    for (const line::FrameEvent& event : events) {
        lineNotices_.take(event, radioAddress());
        emit taps_.frame(event);
    }
    showNotice();
}

void IcomWindow::reportConnectionFailure(const platform::ConnectionFailure& failure)
{
    if (failure.kind == platform::ConnectionFailure::Kind::OpenFailed) {
        account_.portFailed(failure.reason.toStdString(), now());
        services_.showMessage(
            this, serial::kOpenFailure,
            serial::openFailureDetail(QString::fromStdString(account_.port().port), failure.reason,
                                      platform::OpenError::Other));
    } else {
        account_.portLost(failure.reason.toStdString(), now());
        qCWarning(lcSerial).noquote()
            << QString::fromStdString(radio::portText(account_.port()).text);
    }
    updateLineNotices();
}

bool IcomWindow::SendSerialPacket(const civ::Frame& s)
{
    return enqueue(s, {}).has_value();
}

std::optional<std::uint64_t> IcomWindow::enqueue(const civ::Frame& frame,
                                                 const line::Origin& origin)
{
    if (transmitQueue.SendSerialPacket(frame)) {
        return account_.queued(frame, origin, now());
    }
    qCWarning(lcSerial) << "transmit queue full: frame of" << frame.size() << "bytes refused,"
                        << transmitQueue.queued() << "bytes waiting";
    return std::nullopt;
}

void IcomWindow::DoSerialOut()
{
    const civ::Frame out = transmitQueue.DoSerialOut();
    if (out.empty()) {
        return;
    }
    // A closed port takes nothing: the frame never left, and is not shown as sent.
    if (!Serial1->isOpen()) {
        account_.dropped(out, now());
        return;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
    Serial1->write(bytes);
    account_.written(out, now());
    emit taps_.written(bytes);
}

void IcomWindow::AddToDebugFile(const QString& s)
{
    const bool worked = debugFile_.error().isEmpty();
    debugFile_.AddToDebugFile(s);
    if (worked != debugFile_.error().isEmpty()) {
        tellDebugFile();
    }
}

void IcomWindow::DebugCheckBox_Action()
{
    // Where a bare file name lands depends on the folder the program was started in.
    DebugCheckBox->setToolTip(QFileInfo(debugFile_.fileName()).absoluteFilePath());
    debugFile_.check();
    tellDebugFile();
}

void IcomWindow::tellDebugFile()
{
    const QString path = DebugCheckBox->toolTip();
    if (!DebugCheckBox->isChecked()) {
        untell(radio::Notice::Info);
    } else if (debugFile_.error().isEmpty()) {
        tell(radio::Notice::Info, tr("Received bytes go to %1").arg(path), path);
    } else {
        tell(radio::Notice::Info,
             tr("Received bytes cannot be written to %1: %2").arg(path, debugFile_.error()), path);
    }
}
