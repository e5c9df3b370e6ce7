// The window's side of the bus search: a step a second, results into the data display.
#include "platform/logging.h"
#include "ui/controls.h"
#include "ui/icom_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>

void IcomWindow::CreateSearchProgress()
{
    SearchProgress = new QProgressBar(statusBar());
    SearchProgress->setObjectName(QStringLiteral("SearchProgress"));
    SearchProgress->setRange(0, discovery::RadioSearch::kTicksPerSearch);
    SearchProgress->setTextVisible(false);
    SearchTimeLeft = new QLabel(statusBar());
    SearchTimeLeft->setObjectName(QStringLiteral("SearchTimeLeft"));
    StopSearchButton = new QPushButton(tr("Stop"), statusBar());
    StopSearchButton->setObjectName(QStringLiteral("StopSearchButton"));
    StopSearchButton->setAutoDefault(false);
    connect(StopSearchButton, &QPushButton::clicked, this, &IcomWindow::StopSearchButton_Action);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{SearchProgress, SearchTimeLeft, StopSearchButton}) {
        statusBar()->addPermanentWidget(widget);
        widget->hide();
    }
}

void IcomWindow::showSearchProgress()
{
    const int done = radioSearch.ticksDone();
    // One tick a second.
    const int left = discovery::RadioSearch::kTicksPerSearch - done;
    SearchProgress->setValue(done);
    SearchTimeLeft->setText(
        tr("%1:%2 left").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0')));
    const bool running = radioSearch.running();
    SearchProgress->setVisible(running);
    SearchTimeLeft->setVisible(running);
    StopSearchButton->setVisible(running);
}

void IcomWindow::FindRadiosButton_Action()
{
    radioSearch.start();
    ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Multiple);
    FindRadiosButton->setEnabled(false);
    forgetSilence();
    showSearchProgress();
}

void IcomWindow::FindRadiosTimer_Action()
{
    const discovery::RadioSearch::Step step = radioSearch.tick();
    listFound(step);
    if (step.progress) {
        StaticFindRadios->setText(QStringLiteral("Looking for radio %1").arg(*step.progress));
        if (step.probe) {
            ReqFreq(*step.progress);
        }
    }
    if (step.ended) {
        endSearch();
    } else {
        showSearchProgress();
    }
}

void IcomWindow::StopSearchButton_Action()
{
    listFound(radioSearch.stop());
    endSearch();
}

void IcomWindow::listFound(const discovery::RadioSearch::Step& step)
{
    if (step.found) {
        qCInfo(lcDiscovery) << "radio at address" << *step.found;
        QTextCursor cursor(EditField1->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral(" Found radio at address %1\n").arg(*step.found));
    }
}

void IcomWindow::endSearch()
{
    ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Off);
    FindRadiosButton->setEnabled(true);
    forgetSilence();
    showSearchProgress();
}
