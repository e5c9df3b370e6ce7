// The window's side of a real radio's habits: its live reports, its OK and NG, its silence,
// and the status-bar notices that tell of them.
#include "civ/frame.h"
#include "platform/logging.h"
#include "radio/heard.h"
#include "serial/baud_rates.h"
#include "ui/icom_window.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <span>

void IcomWindow::connectRadioTaps()
{
    connect(&taps_, &line::Taps::written, this, [this](const QByteArray& bytes) {
        setCommands_.released(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())));
    });
}

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
    if (radioSearch.running() || heard == radio::Heard::Reply) {
        return;
    }
    forgetSilence();
    switch (heard) {
    case radio::Heard::Report:
        showParsedData(parser.parseCmd == civ::kCmdReportFrequency);
        break;
    case radio::Heard::Ok:
        untell(radio::Notice::Refusal);
        break;
    case radio::Heard::Ng: {
        const QString text = QString::fromStdString(setCommands_.refusalText(radioAddress()));
        qCInfo(lcRadio).noquote() << text;
        tell(radio::Notice::Refusal, text);
        break;
    }
    default:
        break;
    }
}

void IcomWindow::pollQueued()
{
    silence_.pollSent(services_.timeOfDay().msecsSinceStartOfDay() / 1000);
    const auto since = silence_.silentSince();
    if (!since) {
        return;
    }
    const int rate = serial::baudRateForCode(BaudPopup->currentIndex());
    tell(radio::Notice::Silence,
         QString::fromStdString(radio::silenceText(radioAddress(), rate, *since)));
    // Stale, not gone: the texts stay, greyed.
    for (QLabel* display : {FreqDisplay, ModeDisplay, FilterDisplay}) {
        display->setEnabled(false);
    }
}

void IcomWindow::forgetSilence()
{
    if (silence_.silentSince()) {
        untell(radio::Notice::Silence);
        for (QLabel* display : {FreqDisplay, ModeDisplay, FilterDisplay}) {
            display->setEnabled(true);
        }
    }
    silence_.clear();
}

void IcomWindow::tell(radio::Notice kind, const QString& text)
{
    if (notices_.set(kind, text.toStdString())) {
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
    const std::string& shown = notices_.shown();
    if (shown.empty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(QString::fromStdString(shown));
    }
}
