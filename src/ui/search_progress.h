// The bus search's progress in the status bar: a bar, the time left and a Stop button.
#pragma once

#include <QObject>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace ui {

// Shown only while a search runs, at the right of the status bar.
class SearchProgress : public QObject {
    Q_OBJECT

public:
    explicit SearchProgress(QStatusBar* bar);

    // done of the search's ticks, one a second.
    void show(int done, bool running);

signals:
    void stopClicked();

private:
    QProgressBar* bar_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QPushButton* stop_ = nullptr;
};

} // namespace ui
