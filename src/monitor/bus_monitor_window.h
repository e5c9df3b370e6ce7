#pragma once

#include "line/door.h"
#include "monitor/frame_log.h"
#include "monitor/hex_entry.h"

#include <QElapsedTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace monitor {

class FrameLogModel;

// Every frame on the bus in words, beside the main window, and a line to send frames by hand.
// It records what the main window reads and writes from the moment it is made.
class BusMonitorWindow : public QWidget {
    Q_OBJECT

public:
    explicit BusMonitorWindow(line::Door& main);

    // Brings the rows recorded since the last call into the table; the batch timer calls it.
    void updateRows();
    // Return in the entry line.
    void sendEntry();
    void copySelectedRows() const;
    void copyShownRows() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void makeControls();
    QWidget* makeFilterBar();
    QWidget* makeEntryBar();
    void makeTable();
    void record(const QByteArray& bytes, Direction direction);
    void setPaused(bool paused);
    void clearRows();
    void applyFilter();
    void save();

    line::Door& main_;
    FrameLog log_;
    EntryHistory history_;
    FrameLogModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* address_ = nullptr;
    QComboBox* command_ = nullptr;
    QComboBox* direction_ = nullptr;
    QPushButton* pause_ = nullptr;
    QLineEdit* entry_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer* batch_ = nullptr;
    QElapsedTimer sinceUpdate_;
    bool paused_ = false;
    bool following_ = true;
};

} // namespace monitor
