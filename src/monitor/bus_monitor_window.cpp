// Tools > Bus Monitor: every frame on the bus in words, and a line to send frames by hand.
#include "monitor/bus_monitor_window.h"

#include "civ/address.h"
#include "line/door.h"
#include "monitor/frame_description.h"
#include "monitor/frame_log_model.h"
#include "ui/tool_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <numeric>

namespace monitor {

namespace {

// A frame after a quiet spell shows within kBatchMs, with what came along with it. On a busy
// line the table is redrawn at most every kBusyGapMs: painting is the monitor's main cost.
constexpr int kBatchMs = 100;
constexpr int kBusyGapMs = 1000;

} // namespace

BusMonitorWindow::BusMonitorWindow(line::Door& door, QWidget* main)
    : QWidget(main, Qt::Window)
    , door_(door)
    , model_(new FrameLogModel(log_, this))
    , batch_(new QTimer(this))
{
    // Taken once: the table shows the time of day, the account counts on its own clock.
    log_.setWallOffset(QDateTime::currentMSecsSinceEpoch() - door_.now());
    setObjectName(QStringLiteral("BusMonitor"));
    setWindowTitle(tr("Bus Monitor"));
    makeControls();

    auto* copyAll = new QAction(tr("Copy All Shown Rows"), this);
    copyAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyAll->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAll);
    connect(copyAll, &QAction::triggered, this, &BusMonitorWindow::copyShownRows);

    batch_->setSingleShot(true);
    sinceUpdate_.start();
    connect(batch_, &QTimer::timeout, this, &BusMonitorWindow::updateRows);
    connect(&door_.taps(), &line::Taps::frame, this, &BusMonitorWindow::record);
    connect(&door_.taps(), &line::Taps::ticked, this, &BusMonitorWindow::showWaiting);

    // As wide as the columns want, where the screen has room.
    ui::placeBeside(*this, main, {1160, 560});
    fitColumns();
}

bool BusMonitorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelectedRows();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BusMonitorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateRows();
    entry_->setFocus();
}

void BusMonitorWindow::record(const line::FrameEvent& event)
{
    log_.add(event);
    if (isVisible() && !batch_->isActive()) {
        batch_->start(
            static_cast<int>(std::max<qint64>(kBatchMs, kBusyGapMs - sinceUpdate_.elapsed())));
    }
}

void BusMonitorWindow::updateRows()
{
    sinceUpdate_.restart();
    refreshClients();
    model_->catchUp(!paused_);
    if (following_ && !paused_) {
        table_->scrollToBottom();
    }
}

void BusMonitorWindow::sendEntry()
{
    const QString text = entry_->text();
    const line::Settings settings = door_.settings();
    const EntryResult result = parseEntry(text.toStdString(), settings.radioId, settings.ourId);
    if (!result) {
        message_->setText(QString::fromStdString(result.error));
        return;
    }
    const auto id = door_.send(result.frame, line::Origin{line::Source::Typed, 0, {}});
    if (!id) {
        message_->setText(tr("Not sent: the transmit queue is full."));
        return;
    }
    typedId_ = id;
    history_.add(text.toStdString());
    entry_->clear();
    message_->clear();
}

void BusMonitorWindow::showWaiting()
{
    if (typedId_ && !door_.waiting(*typedId_)) {
        typedId_.reset();
    }
    // Pacing alone keeps a frame a few ticks; only other stations' talk is worth a word.
    const auto held = typedId_ ? door_.heldBack(door_.now()) : std::nullopt;
    if (!typedId_) {
        waiting_->clear();
    } else if (held) {
        QStringList talkers;
        for (const int address : held->talkers) {
            talkers.append(QString::fromStdString(civ::addressText(address)));
        }
        waiting_->setText(tr("Waiting for a quiet bus: %1 frames heard from %2.")
                              .arg(held->framesHeard)
                              .arg(talkers.join(QStringLiteral(", "))));
    }
}

void BusMonitorWindow::refreshClients()
{
    const auto clients = log_.clients();
    for (auto i = static_cast<std::size_t>(client_->count() - 1); i < clients.size(); ++i) {
        client_->addItem(QString::fromStdString(clientText(clients[i])), static_cast<int>(i));
    }
}

void BusMonitorWindow::copySelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(model_->rowsText(rows));
}

void BusMonitorWindow::copyShownRows() const
{
    QList<int> rows(model_->rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    QGuiApplication::clipboard()->setText(model_->rowsText(rows));
}

void BusMonitorWindow::setPaused(bool paused)
{
    paused_ = paused;
    pause_->setText(paused ? tr("Resume") : tr("Pause"));
    if (!paused) {
        updateRows();
    }
}

void BusMonitorWindow::clearRows()
{
    log_.clear();
    model_->reset();
}

void BusMonitorWindow::applyFilter()
{
    RowFilter filter;
    const QString address = address_->text().trimmed();
    if (!address.isEmpty()) {
        filter.address = parseAddress(address.toStdString());
        // An address that does not read leaves the filter off and says so.
        address_->setStyleSheet(
            filter.address ? QString() : QStringLiteral("QLineEdit { background: #ffd6d6; }"));
    } else {
        address_->setStyleSheet({});
    }
    if (command_->currentIndex() > 0) {
        filter.command = static_cast<std::uint8_t>(command_->currentData().toInt());
    }
    if (direction_->currentIndex() > 0) {
        filter.direction = static_cast<line::Direction>(direction_->currentData().toInt());
    }
    if (client_->currentIndex() > 0) {
        filter.client = log_.clients()[static_cast<std::size_t>(client_->currentData().toInt())];
    }
    model_->setFilter(filter);
    table_->scrollToBottom();
}

void BusMonitorWindow::save()
{
    const QString csv = tr("CSV (*.csv)");
    QString chosen = csv;
    const QString name = QFileDialog::getSaveFileName(
        this, tr("Save Bus Monitor Rows"), QStringLiteral("bus-monitor.csv"),
        csv + QStringLiteral(";;") + tr("Tab-separated text (*.txt)"), &chosen);
    if (name.isEmpty()) {
        return;
    }
    const TextFormat format = chosen == csv ? TextFormat::Csv : TextFormat::Tabs;
    const QString path = QString::fromStdString(withExtension(name.toStdString(), format));
    const QString error = saveRows(path, format, log_, model_->shownIds());
    message_->setText(error.isEmpty() ? tr("Saved %1 rows to %2.").arg(model_->rowCount()).arg(path)
                                      : tr("Not saved: %1.").arg(error));
}

} // namespace monitor
