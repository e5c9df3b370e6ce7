// Tools > Check Interface: the window that runs the check and shows its report.
#pragma once

#include "check/interface_check.h"
#include "line/check_control.h"
#include "line/door.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace check {

// Tools > Check Interface: runs the check on the main window's port, through its door, and
// shows its report. Non-modal; nothing in it waits.
class CheckWindow : public QWidget {
    Q_OBJECT

public:
    // Beside main, whose line it checks through the door and whose settings it holds, puts
    // back or changes through control.
    CheckWindow(line::Door& door, line::CheckControl& control, QWidget* main, int tickMs);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void start();
    void startDeepSearch();
    bool pausePoll(bool freshReport);
    void cancel();
    void tick();
    void frame(const line::FrameEvent& event);
    void settingsChanged();
    void apply(const Step& step);
    void offerDeepSearch(int rate);
    void setDefaultButton(QPushButton* button);
    void copyReport();
    void saveReport();

    line::Door& door_;
    line::CheckControl& control_;
    InterfaceCheck check_;
    std::optional<Finding> finding_;

    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* default_ = nullptr;
    QPushButton* deep_ = nullptr;
    QComboBox* deepRate_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* activity_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace check
