// The window's side of the CI-V protocol: received frames to the displays, and the commands
// built from the controls.
#include "civ/address.h"
#include "civ/bcd.h"
#include "civ/commands.h"
#include "civ/modes.h"
#include "civ/reply_decoder.h"
#include "platform/text_numbers.h"
#include "ui/controls.h"
#include "ui/icom_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <span>

void IcomWindow::ParseByte(int b)
{
    const civ::FrameParser::Event event = link.parse(b);
    if (event == civ::FrameParser::Event::Jam) {
        StaticJamming->setVisible(true);
        ui::setTimerMode(JammerTimer, ui::TimerMode::Single);
    } else if (event == civ::FrameParser::Event::FrameEnd) {
        frameEnded();
    }
}

void IcomWindow::ParseMessage()
{
    const civ::FrameParser& parser = link.parser();
    if (radioSearch.running()) {
        radioSearch.replySeen(parser.parseFromID, ourAddress());
        return;
    }
    if (parser.parseCmd == civ::kCmdReadFrequency || parser.parseCmd == civ::kCmdReadMode) {
        showParsedData(parser.parseCmd == civ::kCmdReadFrequency);
    }
}

void IcomWindow::showParsedData(bool isFrequency)
{
    const std::span<const int> data = link.parser().data();
    // A frame without data says nothing; showing it would show 0 or an older frame's mode.
    if (data.empty()) {
        return;
    }
    if (isFrequency) {
        UpdateFreq(civ::ParseFreq(data));
    } else {
        const int m = civ::ParseMode(data);
        UpdateMode(m & 255, m / 256);
    }
}

void IcomWindow::UpdateFreq(double f)
{
    FreqDisplay->setText(QString::fromStdString(civ::formatKhz(f)));
}

void IcomWindow::UpdateMode(int mode, int filter)
{
    if (const auto name = civ::modeName(mode)) {
        ModeDisplay->setText(QString::fromLatin1(name->data(), qsizetype(name->size())));
    }
    if (const auto name = civ::filterName(filter)) {
        FilterDisplay->setText(QString::fromLatin1(name->data(), qsizetype(name->size())));
    }
}

void IcomWindow::JammerTimer_Action()
{
    StaticJamming->setVisible(false);
}

int IcomWindow::ourAddress() const
{
    return civ::readAddress(OurIDEditField->text().toStdString()).value_or(-1);
}

int IcomWindow::radioAddress() const
{
    return civ::readAddress(EditRadioID->text().toStdString()).value_or(-1);
}

double IcomWindow::typedMegahertz() const
{
    const double f = platform::numericValue(EditFreq->text());
    return kHzPopup->currentIndex() == 0 ? f / 1000 : f;
}

int IcomWindow::frequencyBytes() const
{
    return PopupFreqBytes->currentText() == QLatin1String("5") ? 5 : 4;
}

bool IcomWindow::frequencyIsEncodable() const
{
    return civ::setFrequency(0, 0, typedMegahertz(), frequencyBytes()).fault !=
           civ::Fault::Frequency;
}

bool IcomWindow::queueCommand(const civ::Command& command, QLineEdit* destinationField)
{
    if (command) {
        return SendSerialPacket(command.frame);
    }
    QLineEdit* const field = command.fault == civ::Fault::Source      ? OurIDEditField
                             : command.fault == civ::Fault::Frequency ? EditFreq
                                                                      : destinationField;
    fieldMarks_.mark(field,
                     tr("Not sent: %1").arg(QString::fromStdString(civ::faultRule(command.fault))));
    return false;
}

void IcomWindow::ReqFreq(int to)
{
    queueCommand(civ::readFrequency(to, ourAddress()), EditRadioID);
}

void IcomWindow::SetFreq(int to, double f)
{
    queueCommand(civ::setFrequency(to, ourAddress(), f, frequencyBytes()), EditRadioID);
}

void IcomWindow::SetFreq1_Action()
{
    SetFreq(radioAddress(), typedMegahertz());
}

void IcomWindow::ReqMode(int to)
{
    queueCommand(civ::readMode(to, ourAddress()), EditRadioID);
}

void IcomWindow::SetMode()
{
    queueCommand(civ::setMode(radioAddress(), ourAddress(), PopupMode->currentIndex(),
                              PopupFilter->currentIndex()),
                 EditRadioID);
}

void IcomWindow::PopupMode_Change()
{
    SetMode();
}

void IcomWindow::PopupFilter_Change()
{
    SetMode();
}

void IcomWindow::ReqTimer_Action()
{
    if (pollPaused()) {
        return;
    }
    ReqFreq(radioAddress());
    ReqMode(radioAddress());
}
