// The window's side of the bus search: a step a second, results into the data display.
#include "platform/logging.h"
#include "ui/controls.h"
#include "ui/icom_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

void IcomWindow::FindRadiosButton_Action()
{
    radioSearch.start();
    ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Multiple);
    FindRadiosButton->setEnabled(false);
}

void IcomWindow::FindRadiosTimer_Action()
{
    const discovery::RadioSearch::Step step = radioSearch.tick();
    if (step.found) {
        qCInfo(lcDiscovery) << "radio at address" << *step.found;
        QTextCursor cursor(EditField1->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral(" Found radio at address %1\n").arg(*step.found));
    }
    if (step.progress) {
        StaticFindRadios->setText(QStringLiteral("Looking for radio %1").arg(*step.progress));
        if (step.probe) {
            ReqFreq(*step.progress);
        }
    }
    if (step.ended) {
        ui::setTimerMode(FindRadiosTimer, ui::TimerMode::Off);
        FindRadiosButton->setEnabled(true);
    }
}
