#include "monitor/bus_monitor_window.h"

#include "monitor/frame_log_model.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
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
#include <span>

namespace monitor {

namespace {

// A frame after a quiet spell shows within kBatchMs, with what came along with it. On a busy
// line the table is redrawn at most every kBusyGapMs: painting is the monitor's main cost.
constexpr int kBatchMs = 100;
constexpr int kBusyGapMs = 500;

Stamp now()
{
    return {std::chrono::steady_clock::now(), std::chrono::system_clock::now()};
}

std::span<const std::uint8_t> asBytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

BusMonitorWindow::BusMonitorWindow(line::Door& main)
    : QWidget(main.mainWidget(), Qt::Window)
    , main_(main)
    , model_(new FrameLogModel(log_, this))
    , batch_(new QTimer(this))
{
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
    connect(&main_.taps(), &line::Taps::received, this,
            [this](const QByteArray& bytes) { record(bytes, Direction::Received); });
    connect(&main_.taps(), &line::Taps::written, this,
            [this](const QByteArray& bytes) { record(bytes, Direction::Sent); });

    constexpr QSize kStartSize{1040, 520};
    constexpr int kGap = 8;
    resize(kStartSize);
    move(main_.mainWidget()->frameGeometry().topRight() + QPoint(kGap, 0));
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

void BusMonitorWindow::record(const QByteArray& bytes, Direction direction)
{
    if (direction == Direction::Sent) {
        log_.sent(asBytes(bytes), now());
    } else {
        log_.received(asBytes(bytes), now());
    }
    if (isVisible() && !batch_->isActive()) {
        batch_->start(
            static_cast<int>(std::max<qint64>(kBatchMs, kBusyGapMs - sinceUpdate_.elapsed())));
    }
}

void BusMonitorWindow::updateRows()
{
    sinceUpdate_.restart();
    log_.closeRuns(now());
    model_->catchUp(!paused_);
    if (following_ && !paused_) {
        table_->scrollToBottom();
    }
}

void BusMonitorWindow::sendEntry()
{
    const QString line = entry_->text();
    const line::Settings settings = main_.settings();
    const EntryResult result = parseEntry(line.toStdString(), settings.radioId, settings.ourId);
    if (!result) {
        message_->setText(QString::fromStdString(result.error));
        return;
    }
    if (!main_.send(result.frame, line::Origin{line::Source::Typed, 0, {}})) {
        message_->setText(tr("Not sent: the transmit queue is full."));
        return;
    }
    history_.add(line.toStdString());
    entry_->clear();
    message_->clear();
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
        filter.direction = static_cast<Direction>(direction_->currentData().toInt());
    }
    model_->setFilter(filter);
    table_->scrollToBottom();
}

void BusMonitorWindow::save()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Bus Monitor Rows"),
                                                      QStringLiteral("bus-monitor.csv"),
                                                      tr("CSV (*.csv);;Text (*.txt)"));
    if (path.isEmpty()) {
        return;
    }
    const QString error = saveRows(path, log_, model_->shownIds());
    message_->setText(error.isEmpty() ? tr("Saved %1 rows to %2.").arg(model_->rowCount()).arg(path)
                                      : tr("Not saved: %1.").arg(error));
}

} // namespace monitor
