// The Bus Monitor's controls and where they sit.
#include "monitor/bus_monitor_window.h"
#include "monitor/command_names.h"
#include "monitor/entry_line.h"
#include "monitor/frame_log_model.h"
#include "ui/tool_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <numeric>

namespace monitor {

namespace {

// The columns as wide as a wide screen allows; the round trip, last, takes what is left.
constexpr std::array kWidths{90, 65, 120, 90, 125, 140, 120, 270};

QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Long texts shrink a pop-up to a few letters and the width the filter bar needs with it.
void narrow(QComboBox* box, int letters)
{
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(letters);
}

QLabel* wrappingLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

void BusMonitorWindow::makeControls()
{
    makeTable();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeFilterBar());
    layout->addWidget(table_);
    layout->addWidget(makeEntryBar());
    layout->addWidget(makeButtonBar());
}

void BusMonitorWindow::fitColumns()
{
    // On a narrow screen every column narrows alike, rather than the window leaving the screen.
    layout()->activate();
    // The last column stretches, but not below the header's default size.
    const QHeaderView* const header = table_->horizontalHeader();
    const int room =
        table_->maximumViewportSize().width() - table_->verticalScrollBar()->sizeHint().width() -
        std::max(header->defaultSectionSize(), header->sectionSizeHint(kColumnCount - 1));
    const int designed = std::accumulate(kWidths.cbegin(), kWidths.cend(), 0);
    for (std::size_t i = 0; i < kWidths.size(); ++i) {
        table_->setColumnWidth(static_cast<int>(i),
                               kWidths[i] * std::clamp(room, 0, designed) / designed);
    }
}

QWidget* BusMonitorWindow::makeFilterBar()
{
    auto* bar = new QWidget(this);
    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);

    address_ = new QLineEdit(bar);
    address_->setObjectName(QStringLiteral("filterAddress"));
    address_->setPlaceholderText(tr("any, or 94"));
    address_->setToolTip(tr("An address at either end of a frame, in hex as the table shows it: "
                            "94 or 0x94. Empty: any address."));
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
    direction_->addItem(tr("sent"), static_cast<int>(line::Direction::Sent));
    direction_->addItem(tr("received"), static_cast<int>(line::Direction::Received));
    direction_->addItem(tr("echo"), static_cast<int>(line::Direction::Echo));
    direction_->addItem(tr("dropped"), static_cast<int>(line::Direction::Dropped));
    connect(direction_, &QComboBox::currentIndexChanged, this, &BusMonitorWindow::applyFilter);

    client_ = new QComboBox(bar);
    client_->setObjectName(QStringLiteral("filterClient"));
    client_->addItem(tr("All clients"));
    connect(client_, &QComboBox::currentIndexChanged, this, &BusMonitorWindow::applyFilter);
    narrow(command_, 12);
    narrow(client_, 12);

    // Two rows: one would not fit a small screen.
    const auto add = [grid](QWidget* control, const QString& label, int row, int column) {
        grid->addWidget(new QLabel(label, control->parentWidget()), row, column);
        grid->addWidget(control, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
    };
    add(address_, tr("Address:"), 0, 0);
    add(direction_, tr("Direction:"), 0, 2);
    add(command_, tr("Command:"), 1, 0);
    add(client_, tr("Client:"), 1, 2);
    return bar;
}

QWidget* BusMonitorWindow::makeButtonBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
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

    // What became of the typed line, between the buttons: room for it at every width.
    auto* words = new QVBoxLayout;
    message_ = wrappingLabel(bar, "entryMessage");
    waiting_ = wrappingLabel(bar, "entryWaiting");
    words->addWidget(message_);
    words->addWidget(waiting_);
    row->addWidget(pause_);
    row->addWidget(clear);
    row->addWidget(save);
    row->addLayout(words, 1);
    row->addWidget(ui::makeClosable(*this));
    return bar;
}

QWidget* BusMonitorWindow::makeEntryBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    entry_ = new EntryLine(history_, bar);
    entry_->setObjectName(QStringLiteral("entry"));
    entry_->setPlaceholderText(tr("hex: 19 00, or a whole frame: FE FE 94 E0 19 00 FD"));
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
    table_->horizontalHeader()->setStretchLastSection(true);
    // Whether to follow is the operator's choice, taken where they scroll: the range also
    // changes when the window or its message grows, which must not stop the following.
    const QScrollBar* const bar = table_->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { following_ = value == bar->maximum(); });

    // A key filter rather than a shortcut, so the view's own Copy of a single cell never runs.
    table_->installEventFilter(this);
}

} // namespace monitor
