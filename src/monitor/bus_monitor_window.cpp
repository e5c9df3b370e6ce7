#include "monitor/bus_monitor_window.h"

#include "monitor/command_names.h"
#include "monitor/entry_line.h"
#include "monitor/frame_log_model.h"
#include "ui/icom_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
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

QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

BusMonitorWindow::BusMonitorWindow(IcomWindow& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
    , model_(new FrameLogModel(log_, this))
    , batch_(new QTimer(this))
{
    setObjectName(QStringLiteral("BusMonitor"));
    setWindowTitle(tr("Bus Monitor"));
    makeTable();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeFilterBar());
    layout->addWidget(table_);
    layout->addWidget(makeEntryBar());
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("entryMessage"));
    message_->setWordWrap(true);
    layout->addWidget(message_);

    auto* copyAll = new QAction(tr("Copy All Shown Rows"), this);
    copyAll->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyAll->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAll);
    connect(copyAll, &QAction::triggered, this, &BusMonitorWindow::copyShownRows);

    batch_->setSingleShot(true);
    sinceUpdate_.start();
    connect(batch_, &QTimer::timeout, this, &BusMonitorWindow::updateRows);
    connect(&main_, &IcomWindow::bytesReceived, this,
            [this](const QByteArray& bytes) { record(bytes, Direction::Received); });
    connect(&main_, &IcomWindow::bytesSent, this,
            [this](const QByteArray& bytes) { record(bytes, Direction::Sent); });

    constexpr QSize kStartSize{1040, 520};
    constexpr int kGap = 8;
    resize(kStartSize);
    move(main_.frameGeometry().topRight() + QPoint(kGap, 0));
}

QWidget* BusMonitorWindow::makeFilterBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    address_ = new QLineEdit(bar);
    address_->setObjectName(QStringLiteral("filterAddress"));
    address_->setPlaceholderText(tr("any, or 0x94 or 148"));
    connect(address_, &QLineEdit::textChanged, this, &BusMonitorWindow::applyFilter);

    command_ = new QComboBox(bar);
    command_->setObjectName(QStringLiteral("filterCommand"));
    command_->addItem(tr("All commands"));
    for (const CodeName& c : commandNames()) {
        command_->addItem(QStringLiteral("%1 %2")
                              .arg(c.code, 2, 16, QLatin1Char('0'))
                              .toUpper()
                              .arg(qText(c.name)),
                          c.code);
    }
    connect(command_, &QComboBox::currentIndexChanged, this, &BusMonitorWindow::applyFilter);

    direction_ = new QComboBox(bar);
    direction_->setObjectName(QStringLiteral("filterDirection"));
    direction_->addItem(tr("All directions"));
    direction_->addItem(tr("sent"), static_cast<int>(Direction::Sent));
    direction_->addItem(tr("received"), static_cast<int>(Direction::Received));
    direction_->addItem(tr("echo"), static_cast<int>(Direction::Echo));
    connect(direction_, &QComboBox::currentIndexChanged, this, &BusMonitorWindow::applyFilter);

    pause_ = new QPushButton(tr("Pause"), bar);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    connect(pause_, &QPushButton::toggled, this, &BusMonitorWindow::setPaused);
    auto* clear = new QPushButton(tr("Clear"), bar);
    clear->setObjectName(QStringLiteral("clear"));
    connect(clear, &QPushButton::clicked, this, &BusMonitorWindow::clearRows);
    auto* save = new QPushButton(tr("Save..."), bar);
    save->setObjectName(QStringLiteral("save"));
    connect(save, &QPushButton::clicked, this, &BusMonitorWindow::save);

    row->addWidget(new QLabel(tr("Address:"), bar));
    row->addWidget(address_);
    row->addWidget(new QLabel(tr("Command:"), bar));
    row->addWidget(command_);
    row->addWidget(new QLabel(tr("Direction:"), bar));
    row->addWidget(direction_);
    row->addStretch();
    row->addWidget(pause_);
    row->addWidget(clear);
    row->addWidget(save);
    return bar;
}

QWidget* BusMonitorWindow::makeEntryBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    entry_ = new EntryLine(history_, bar);
    entry_->setObjectName(QStringLiteral("entry"));
    entry_->setPlaceholderText(tr("19 00, or a whole frame: FE FE 94 E0 19 00 FD"));
    connect(entry_, &QLineEdit::returnPressed, this, &BusMonitorWindow::sendEntry);
    auto* send = new QPushButton(tr("Send"), bar);
    send->setObjectName(QStringLiteral("send"));
    connect(send, &QPushButton::clicked, this, &BusMonitorWindow::sendEntry);
    row->addWidget(new QLabel(tr("Send hex:"), bar));
    row->addWidget(entry_);
    row->addWidget(send);
    return bar;
}

void BusMonitorWindow::makeTable()
{
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("rows"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    // Clipped, not elided: eliding lays every cell's text out twice. The tooltip has it whole.
    table_->setTextElideMode(Qt::ElideNone);
    table_->setAlternatingRowColors(true);
    // Fixed row heights: the view lays out 100,000 rows without measuring any of them.
    QHeaderView* const rows = table_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    constexpr std::array kWidths{90, 65, 90, 125, 140, 120, 270};
    for (std::size_t i = 0; i < kWidths.size(); ++i) {
        table_->setColumnWidth(static_cast<int>(i), kWidths[i]);
    }
    table_->horizontalHeader()->setStretchLastSection(true);
    // Whether to follow is the operator's choice, taken where they scroll: the range also
    // changes when the window or its message grows, which must not stop the following.
    const QScrollBar* const bar = table_->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { following_ = value == bar->maximum(); });

    // A key filter rather than a shortcut, so the view's own Copy of a single cell never runs.
    table_->installEventFilter(this);
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
    const EntryResult result =
        parseEntry(line.toStdString(), main_.radioAddress(), main_.ourAddress());
    if (!result) {
        message_->setText(QString::fromStdString(result.error));
        return;
    }
    if (!main_.SendSerialPacket(result.frame)) {
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
