// Tools > Share...: the list of ways in and programs, refreshed while shown.
#include "share/share_window.h"

#include "share/sharing.h"
#include "ui/tool_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

namespace share {

namespace {

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Rows in the order shown: each service, then the programs on it.
std::vector<ShareWindow::Row> rowsOf(const std::vector<SharedService*>& services)
{
    std::vector<ShareWindow::Row> rows;
    for (SharedService* const service : services) {
        const bool running = service->running();
        rows.push_back(
            {{text(service->title()), running ? text(service->where()) : QStringLiteral("stopped")},
             running ? service : nullptr,
             std::nullopt});
        if (const int refused = service->refusedClients()) {
            rows.back().cells << QString() << QString()
                              << QStringLiteral("%1 refused").arg(refused);
        }
        for (const ClientInfo& client : service->clients()) {
            rows.push_back(
                {{QStringLiteral("    ") + text(client.name), QString(),
                  QString::number(client.framesSent), QString::number(client.framesAnswered),
                  QString::number(client.framesDropped)},
                 service,
                 client.id});
        }
    }
    return rows;
}

} // namespace

ShareWindow::ShareWindow(Sharing& sharing, line::Door& door, QWidget* main)
    : QWidget(main, Qt::Window)
    , sharing_(sharing)
    , path_(new QLineEdit(defaultCivPortPath(), this))
    , status_(new QLabel(this))
    , list_(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("ShareWindow"));
    setWindowTitle(QStringLiteral("Share"));
    path_->setObjectName(QStringLiteral("CivPortPath"));
    status_->setObjectName(QStringLiteral("ShareStatus"));
    list_->setObjectName(QStringLiteral("ShareList"));
    list_->setHeaderLabels({QStringLiteral("Who"), QStringLiteral("Where"), QStringLiteral("Sent"),
                            QStringLiteral("Answered"), QStringLiteral("Dropped"), QString()});
    list_->setRootIsDecorated(false);
    // A long path keeps its start and its controller address.
    list_->setTextElideMode(Qt::ElideMiddle);
    // Who gives way, eliding, so that every Stop stays in sight however long a name is.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    status_->setWordWrap(true);

    auto* const start = new QPushButton(QStringLiteral("Start CI-V port"), this);
    start->setObjectName(QStringLiteral("StartCivPort"));
    connect(start, &QPushButton::clicked, this, [this] { sharing_.startCivPort(path_->text()); });
    connect(path_, &QLineEdit::returnPressed, start, &QPushButton::click);

    auto* const bar = new QWidget(this);
    auto* const portRow = new QHBoxLayout(bar);
    portRow->setContentsMargins(0, 0, 0, 0);
    portRow->addWidget(new QLabel(QStringLiteral("CI-V port at"), bar));
    portRow->addWidget(path_, 1);
    portRow->addWidget(start);
    auto* const buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ui::makeClosable(*this));
    auto* const layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(makeServerBar());
    layout->addWidget(status_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    ui::placeBeside(*this, main, {600, 320});

    connect(&door.taps(), &line::Taps::ticked, this, [this] {
        if (isVisible() && ++ticks_ >= kTicksPerRefresh) {
            refresh();
        }
    });
    connect(&sharing_, &Sharing::civPortChanged, this, &ShareWindow::showCivPortStatus);
    connect(&sharing_, &Sharing::networkServerChanged, this, &ShareWindow::showNetworkServer);
    showCivPortStatus();
    showNetworkServer();
    rebuild();
}

ShareWindow::~ShareWindow() = default;

QWidget* ShareWindow::makeServerBar()
{
    auto* const bar = new QWidget(this);
    host_ = new QLineEdit(text(sharing_.networkServerAddress().host), bar);
    host_->setObjectName(QStringLiteral("ServerHost"));
    port_ = new QSpinBox(bar);
    port_->setObjectName(QStringLiteral("ServerPort"));
    // 0: a port the system chooses, shown once listening.
    port_->setRange(0, 65535);
    port_->setValue(sharing_.networkServerAddress().port);
    listen_ = new QPushButton(QStringLiteral("Start network server"), bar);
    listen_->setObjectName(QStringLiteral("StartNetworkServer"));
    connect(listen_, &QPushButton::clicked, this, [this] {
        emit networkServerAsked(
            {host_->text().trimmed().toStdString(), static_cast<std::uint16_t>(port_->value())});
    });
    connect(host_, &QLineEdit::returnPressed, listen_, &QPushButton::click);
    auto* const row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Hamlib network server at"), bar));
    row->addWidget(host_, 1);
    row->addWidget(new QLabel(QStringLiteral("port"), bar));
    row->addWidget(port_);
    row->addWidget(listen_);
    return bar;
}

void ShareWindow::showNetworkServer()
{
    const ListenAddress& address = sharing_.networkServerAddress();
    host_->setText(text(address.host));
    port_->setValue(address.port);
    const SharedService* const server = sharing_.networkServer();
    listen_->setText(server && server->running() ? QStringLiteral("Restart network server")
                                                 : QStringLiteral("Start network server"));
    refreshLater();
}

void ShareWindow::showCivPortStatus()
{
    const QString& path = sharing_.civPortPath();
    if (path.isEmpty()) {
        return;
    }
    const QString& error = sharing_.civPortError();
    path_->setText(path);
    status_->setText(error.isEmpty() ? QStringLiteral("Programs open %1 as the radio.").arg(path)
                                     : error);
    refresh();
}

void ShareWindow::showForCivPort()
{
    show();
    raise();
    activateWindow();
    path_->setFocus();
    path_->selectAll();
}

QString ShareWindow::defaultCivPortPath()
{
    const QString user = qEnvironmentVariable("USER", QStringLiteral("user"));
    return QDir::temp().filePath(QStringLiteral("icom-civ-") + user);
}

void ShareWindow::refresh()
{
    ticks_ = 0;
    if (rowsOf(sharing_.services()) != shown_) {
        rebuild();
    }
}

void ShareWindow::refreshLater()
{
    // Not from inside the Stop button's click: the rebuild deletes the button.
    QMetaObject::invokeMethod(this, &ShareWindow::refresh, Qt::QueuedConnection);
}

void ShareWindow::rebuild()
{
    shown_ = rowsOf(sharing_.services());
    list_->clear();
    for (const Row& row : shown_) {
        auto* const item = new QTreeWidgetItem(list_, row.cells);
        if (!row.service) {
            continue;
        }
        auto* const stop = new QPushButton(QStringLiteral("Stop"), list_);
        list_->setItemWidget(item, kStopColumn, stop);
        connect(stop, &QPushButton::clicked, this,
                [this, service = row.service, client = row.client] {
                    sharing_.stop(*service, client);
                    refreshLater();
                });
    }
}

} // namespace share
