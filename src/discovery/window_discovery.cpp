// The window's side of the bus search: a step a second, results into the data display.
#include "platform/logging.h"
#include "ui/controls.h"
#include "ui/data_display.h"
#include "ui/icom_window.h"
#include "ui/search_progress.h"

#include <QLabel>
#include <QPushButton>

void IcomWindow::FindRadiosButton_Action()
{
    radioSearch.start();
    ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Multiple);
    FindRadiosButton->setEnabled(false);
    forgetSilence();
    searchProgress_->show(radioSearch.ticksDone(), true);
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
        searchProgress_->show(radioSearch.ticksDone(), true);
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
        EditField1->appendLine(QStringLiteral(" Found radio at address %1").arg(*step.found));
    }
}

void IcomWindow::endSearch()
{
    ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Off);
    FindRadiosButton->setEnabled(true);
    forgetSilence();
    searchProgress_->show(0, false);
}
