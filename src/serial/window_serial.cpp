// The window's serial link: port choice, the receive pump and the paced transmit side.
#include "app/app.h"
#include "platform/logging.h"
#include "platform/tcp_connection.h"
#include "platform/text_numbers.h"
#include "radio/line_notices.h"
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
#include <span>

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

// Names the port: the box may come up long after the choice, at start-up or from a pop-up.
QString openFailureDetail(const QString& port, const QString& reason, platform::OpenError error)
{
    const QString hint = openFailureHint(error);
    const QString head = port + QStringLiteral(": ") + reason;
    return hint.isEmpty() ? head : head + QLatin1Char('\n') + hint;
}

std::span<const std::uint8_t> byteSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
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
    const line::PortStatus before = account_.port();
    const QString& location = ports_.at(port).location;
    const int rate = serial::baudRateForCode(baud);
    account_.portChosen(location.toStdString(), rate,
                        platform::TcpConnection::isTcpLocation(location), now());
    account_.forgetSilence(radioAddress());
    // What the displays show was heard at the old rate or port.
    setDisplaysLive(false);
    if (Serial1->open(location, rate)) {
        account_.portOpened(now());
    } else {
        const QString reason = openReason();
        // Start-up opens the port up to three times; one box is enough for a missing port.
        const bool told = starting_ && before.state == line::PortState::NeverOpened &&
                          before.port == location.toStdString();
        account_.portFailed(reason.toStdString(), now());
        if (!told) {
            services_.showMessage(this, kOpenFailure,
                                  openFailureDetail(location, reason, Serial1->openError()));
        }
    }
    emit taps_.settingsChanged();
    updateLineNotices();
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
    account_.tick(now());
    publish();
    updateLineNotices();
    if (paintTick && displayHeld_) {
        displayHeld_ = false;
        EditField1->viewport()->setUpdatesEnabled(true);
    }
    // Shown current at every tick, painted at most on a painting tick and only when changed.
    const QString buf =
        serial::queueStatusText(transmitQueue.serialBufHead, transmitQueue.serialBufTail,
                                transmitQueue.queued(), transmitQueue.sendDelay);
    const bool paint = paintTick && buf != paintedBuf_;
    StaticBuf->setUpdatesEnabled(paint);
    StaticBuf->setText(buf);
    if (paint) {
        paintedBuf_ = buf;
    }
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
        appendToDataDisplay(hex);
    }
    if (DebugCheckBox->isChecked()) {
        AddToDebugFile(hex);
    }
    publish();
}

void IcomWindow::publish()
{
    for (const line::FrameEvent& event : account_.takeEvents()) {
        lineNotices_.take(notices_, event, radioAddress());
        emit taps_.frame(event);
    }
    showNotice();
}

void IcomWindow::appendToDataDisplay(const QString& text)
{
    // Bytes arriving at every tick would repaint the display 20 times a second; it catches up
    // on the next painting tick, and paints as usual once the line is quiet.
    if (statusTicks_ != 0) {
        displayHeld_ = true;
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
    if (failure.kind == platform::ConnectionFailure::Kind::OpenFailed) {
        account_.portFailed(failure.reason.toStdString(), now());
        services_.showMessage(this, kOpenFailure,
                              openFailureDetail(QString::fromStdString(account_.port().port),
                                                failure.reason, platform::OpenError::Other));
    } else {
        account_.portLost(failure.reason.toStdString(), now());
        qCWarning(lcSerial).noquote() << QString::fromStdString(radio::portText(account_.port()));
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
        tell(radio::Notice::Info, tr("Received bytes go to %1").arg(path));
    } else {
        tell(radio::Notice::Info,
             tr("Received bytes cannot be written to %1: %2").arg(path, debugFile_.error()));
    }
}
