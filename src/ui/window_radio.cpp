// The window's side of a real radio's habits: its live reports and replies, and the status-bar
// notices that tell of the line, decided from the link account.
#include "civ/address.h"
#include "civ/commands.h"
#include "civ/frame.h"
#include "radio/heard.h"
#include "ui/icom_window.h"
#include "ui/notice_label.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

// Shows the radio's own mode and filter in the pop-ups without a change event, so that
// nothing is sent and the operator's next choice changes only what they chose.
void follow(QComboBox& popup, std::optional<int> row)
{
    if (row) {
        const QSignalBlocker quiet(popup);
        popup.setCurrentIndex(*row);
    }
}

} // namespace

void IcomWindow::frameEnded()
{
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
        follow(*PopupMode, civ::modeRow(parser.parseMsg[0]));
        if (parser.parseMsgLength > 1) {
            follow(*PopupFilter, civ::filterRow(parser.parseMsg[1]));
        }
    }
    // Heard at the rate and port in use: what the displays show is current again.
    setDisplaysLive(true);
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
    account_.forgetSilence(radioAddress());
    updateLineNotices();
}

void IcomWindow::updateLineNotices()
{
    updateLineNotices(now());
}

void IcomWindow::updateLineNotices(line::Millis at)
{
    // The account's copy of Radio ID: read from the field at every tick it cost as much as the
    // notices themselves.
    const int radio =
        civ::isEncodableAddress(account_.radioAddress()) ? account_.radioAddress() : -1;
    const radio::LineView view{radio, FindRadiosButton->isEnabled(), at,
                               [this] { return services_.timeOfDay().msecsSinceStartOfDay(); }};
    lineNotices_.update(notices_, account_, view);
    if (!notices_.text(radio::Notice::Silence).empty()) {
        setDisplaysLive(false);
    }
    showNotice();
}

void IcomWindow::tell(radio::Notice kind, const QString& text, const QString& subject)
{
    if (notices_.set(kind, {text.toStdString(), subject.toStdString()})) {
        showNotice();
    }
}

void IcomWindow::untell(radio::Notice kind)
{
    if (notices_.clear(kind)) {
        showNotice();
    }
}

void IcomWindow::showNotice()
{
    notice_->setNotice(notices_.shown());
}
