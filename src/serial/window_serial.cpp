// The window's serial link: port choice, the receive pump and the paced transmit side, run on
// the link and shown in the window.
#include "platform/logging.h"
#include "platform/text_numbers.h"
#include "serial/baud_rates.h"
#include "serial/open_failure.h"
#include "ui/chosen_line.h"
#include "ui/data_display.h"
#include "ui/icom_window.h"
#include "ui/port_popup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

void IcomWindow::SerialPopup_Open()
{
    // Rows are listed, not chosen: no row is selected until init picks the first.
    SerialPopup->relist(services_.listPorts());
    if (ourSerialPort < SerialPopup->count()) {
        SetSerialStuff(ourSerialPort, BaudPopup->currentIndex());
    }
}

void IcomWindow::SerialPopup_Change()
{
    ourSerialPort = SerialPopup->currentIndex();
    if (ourSerialPort < SerialPopup->count()) {
        SetSerialStuff(ourSerialPort, BaudPopup->currentIndex());
    }
}

void IcomWindow::BaudPopup_Change()
{
    SerialPopup_Change();
}

void IcomWindow::SetSerialStuff(int port, int baud)
{
    const QString location = SerialPopup->location(port);
    if (location.isEmpty()) {
        return;
    }
    const line::PortStatus before = link.port();
    link.forgetSilence(radioAddress());
    // What the displays show was heard at the old rate or port.
    setDisplaysLive(false);
    // Start-up opens the port up to three times; one box is enough for a missing port.
    const bool told = starting_ && before.state == line::PortState::NeverOpened &&
                      before.port == location.toStdString();
    if (!link.open(location, serial::baudRateForCode(baud)) && !told) {
        serial::tellOpenFailure(this, this, services_.showMessage, location, link.openReason(),
                                link.openError());
    }
    tellSettings();
    updateLineNotices(link.now());
}

void IcomWindow::tellSettings()
{
    link.choose(ui::chosenLine(SerialPopup->location(ourSerialPort), BaudPopup->currentIndex(),
                               OurIDEditField->text(), EditRadioID->text()));
}

void IcomWindow::refreshPorts()
{
    SerialPopup->relist(services_.listPorts());
    // The chosen port may have moved to another row.
    if (SerialPopup->currentIndex() >= 0) {
        ourSerialPort = SerialPopup->currentIndex();
    }
}

void IcomWindow::Timer1_Action()
{
    cadence_.tick();
    CheckSerial();
    DoSerialOut();
    CheckSerial();
    CheckSerial();
    const line::Millis at = link.finishTick();
    updateLineNotices(at);
    if (cadence_.dataPaintTick()) {
        EditField1->release();
    }
    cadence_.showStatus(*StaticBuf, link.ring());
    link.ticked();
}

void IcomWindow::CheckSerial()
{
    const line::Link::Chunk chunk = link.read();
    if (chunk.failure) {
        failed(*chunk.failure);
    }
    if (chunk.bytes.isEmpty()) {
        return;
    }
    const QString hex = platform::hexText(chunk.bytes);
    for (const char byte : chunk.bytes) {
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
    if (link.publish()) {
        notices_.show();
    }
}

void IcomWindow::failed(const platform::ConnectionFailure& failure)
{
    // Nothing can be heard through a port that is gone.
    setDisplaysLive(false);
    if (failure.kind == platform::ConnectionFailure::Kind::OpenFailed) {
        serial::tellOpenFailure(this, this, services_.showMessage,
                                QString::fromStdString(link.port().port), failure.reason,
                                platform::OpenError::Other);
    } else {
        qCWarning(lcSerial).noquote() << QString::fromStdString(radio::portText(link.port()).text);
    }
    updateLineNotices(link.now());
}

bool IcomWindow::SendSerialPacket(const civ::Frame& s)
{
    return link.send(s, {}).has_value();
}

void IcomWindow::DoSerialOut()
{
    link.release();
}

void IcomWindow::AddToDebugFile(const QString& s)
{
    if (debugFile_.AddToDebugFile(s)) {
        tellDebugFile();
    }
}

void IcomWindow::DebugCheckBox_Action()
{
    DebugCheckBox->setToolTip(debugFile_.path());
    debugFile_.check();
    tellDebugFile();
}

void IcomWindow::tellDebugFile()
{
    notices_.tell(radio::Notice::Info, DebugCheckBox->isChecked() ? debugFile_.notice() : QString(),
                  debugFile_.path());
}
