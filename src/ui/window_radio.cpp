// The window's side of the radio and the line: live reports and replies, the status-bar notices
// decided from the link account, and the interface check's hold on the poll and the port.
#include "civ/commands.h"
#include "platform/logging.h"
#include "radio/heard.h"
#include "serial/baud_rates.h"
#include "ui/controls.h"
#include "ui/icom_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void IcomWindow::addressesChanged()
{
    const int radio = link.settings().radioId;
    tellSettings();
    if (link.settings().radioId != radio) {
        // What the displays show came from another radio.
        setDisplaysLive(false);
    }
    // A new radio's silence starts now, not when it was last polled.
    forgetSilence();
}

void IcomWindow::frameEnded()
{
    const civ::FrameParser& parser = link.parser();
    const radio::Heard heard = radio::classify(parser.parseToID, parser.parseFromID,
                                               parser.parseCmd, ourAddress(), radioAddress());
    if (heard == radio::Heard::Nothing) {
        return;
    }
    if (heard != radio::Heard::Report) {
        ParseMessage();
    }
    if (radioSearch.running()) {
        return;
    }
    if (heard == radio::Heard::Report) {
        showParsedData(parser.parseCmd == civ::kCmdReportFrequency);
    }
    const bool mode = parser.parseCmd ==
                      (heard == radio::Heard::Report ? civ::kCmdReportMode : civ::kCmdReadMode);
    if (mode && heard != radio::Heard::Reply && parser.parseMsgLength > 0) {
        ui::showRow(*PopupMode, civ::modeRow(parser.parseMsg[0]));
        if (parser.parseMsgLength > 1) {
            ui::showRow(*PopupFilter, civ::filterRow(parser.parseMsg[1]));
        }
    }
    // The radio itself heard at the rate and port in use: what the displays show is current
    // again. Another station's reply to us says nothing of it.
    if (heard != radio::Heard::Reply) {
        setDisplaysLive(true);
    }
}

void IcomWindow::setDisplaysLive(bool live)
{
    // Stale, not gone: the texts stay, greyed.
    for (QLabel* display : {FreqDisplay, ModeDisplay, FilterDisplay}) {
        display->setEnabled(live);
    }
}

void IcomWindow::forgetSilence()
{
    link.forgetSilence(radioAddress());
    updateLineNotices(link.now());
}

void IcomWindow::updateLineNotices(line::Millis at)
{
    // The account's copy of Radio ID: read from the field at every tick it cost as much as the
    // notices themselves.
    const line::LinkAccount& account = link.account();
    const radio::LineView view{account.radioAddress(), !pollPaused(), at,
                               [this] { return services_.timeOfDay().msecsSinceStartOfDay(); }};
    if (notices_.update(account, view)) {
        setDisplaysLive(false);
    }
}

bool IcomWindow::pausePoll()
{
    if (pollPaused()) {
        return false;
    }
    pollHeld_ = true;
    // No search while the check runs.
    FindRadiosButton->setEnabled(false);
    return true;
}

platform::OpenError IcomWindow::reopen(int rate)
{
    return link.reopen(rate);
}

void IcomWindow::restore()
{
    if (reopen(serial::baudRateForCode(BaudPopup->currentIndex())) != platform::OpenError::None) {
        qCWarning(lcCheck).noquote() << QString::fromStdString(radio::portText(link.port()).text);
    }
    // The poll starts afresh: what went unanswered during the check says nothing.
    setDisplaysLive(false);
    pollHeld_ = false;
    FindRadiosButton->setEnabled(true);
    forgetSilence();
}

void IcomWindow::useSettings(int baudCode, int radioId)
{
    EditRadioID->setText(QString::number(radioId));
    // Re-opens the port through the pop-up's change handler, as the operator's choice would.
    BaudPopup->setCurrentIndex(baudCode);
}
