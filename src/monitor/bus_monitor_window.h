// Tools > Bus Monitor: every frame on the bus in words, and a line to send frames by hand.
#pragma once

#include "monitor/frame_log.h"
#include "monitor/hex_entry.h"

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace line {
class Door;
struct FrameEvent;
} // namespace line

namespace monitor {

class FrameLogModel;

// Every frame on the bus in words, beside the main window, and a line to send frames by hand.
// It records the account of the line from the moment it is made.
class BusMonitorWindow : public QWidget {
    Q_OBJECT

public:
    // Beside main, which it belongs to.
    BusMonitorWindow(line::Door& door, QWidget* main);

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
    QWidget* makeButtonBar();
    void fitColumns();
    void makeTable();
    void record(const line::FrameEvent& event);
    // Says next to the entry line while the typed frame waits in the ring.
    void showWaiting();
    void refreshClients();
    void setPaused(bool paused);
    void clearRows();
    void applyFilter();
    void save();

    line::Door& door_;
    FrameLog log_;
    EntryHistory history_;
    FrameLogModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* address_ = nullptr;
    QComboBox* command_ = nullptr;
    QComboBox* direction_ = nullptr;
    QComboBox* client_ = nullptr;
    QPushButton* pause_ = nullptr;
    QLineEdit* entry_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* waiting_ = nullptr;
    std::optional<std::uint64_t> typedId_;
    QTimer* batch_ = nullptr;
    QElapsedTimer sinceUpdate_;
    bool paused_ = false;
    bool following_ = true;
};

} // namespace monitor
