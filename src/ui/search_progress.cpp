// The bus search's progress in the status bar.
#include "ui/search_progress.h"

#include "discovery/radio_search.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace ui {

SearchProgress::SearchProgress(QStatusBar* bar)
    : QObject(bar)
    , bar_(new QProgressBar(bar))
    , timeLeft_(new QLabel(bar))
    , stop_(new QPushButton(tr("Stop"), bar))
{
    bar_->setObjectName(QStringLiteral("SearchProgress"));
    bar_->setRange(0, discovery::RadioSearch::kTicksPerSearch);
    bar_->setTextVisible(false);
    timeLeft_->setObjectName(QStringLiteral("SearchTimeLeft"));
    stop_->setObjectName(QStringLiteral("StopSearchButton"));
    stop_->setAutoDefault(false);
    connect(stop_, &QPushButton::clicked, this, &SearchProgress::stopClicked);
    for (QWidget* widget : std::initializer_list<QWidget*>{bar_, timeLeft_, stop_}) {
        bar->addPermanentWidget(widget);
        widget->hide();
    }
}

void SearchProgress::show(int done, bool running)
{
    const int left = discovery::RadioSearch::kTicksPerSearch - done;
    bar_->setValue(done);
    timeLeft_->setText(tr("%1:%2 left").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0')));
    bar_->setVisible(running);
    timeLeft_->setVisible(running);
    stop_->setVisible(running);
}

} // namespace ui
