#pragma once

#include "check/interface_check.h"
#include "line/door.h"

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace check {

// Tools > Check Interface: runs the check on the main window's port, through its door, and
// shows its report.
// Non-modal; nothing in it waits.
class CheckWindow : public QWidget {
    Q_OBJECT

public:
    CheckWindow(line::Door& main, int tickMs);

    // The door's taps: each pump tick, every chunk read and every write.
    void tick();
    void received(const QByteArray& chunk);
    void sent(const QByteArray& bytes);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void start();
    void cancel();
    void apply(const Step& step);
    void setDefaultButton(QPushButton* button);
    void copyReport();
    void saveReport();

    line::Door& main_;
    InterfaceCheck check_;
    QElapsedTimer clock_;
    std::optional<Finding> finding_;

    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* default_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace check
