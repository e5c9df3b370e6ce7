#include "share/share_window.h"

#include "platform/client_listener.h"
#include "share/civ_port.h"
#include "share/rigctl_server.h"
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

// Said below "could not listen" when another program has the address.
QString inUseAdvice(std::uint16_t port)
{
    return QStringLiteral(
               "Another program may be listening on port %1 already: rigctld, or another copy of "
               "this program. Stop it, or choose another port (%2, say) under Tools > Share..., "
               "start the server there and give that port to the programs that connect.")
        .arg(port)
        .arg(port == 65535 ? 4533 : port + 1);
}

} // namespace

ShareWindow::ShareWindow(line::Door& door, Message message)
    : QWidget(door.mainWidget(), Qt::Window)
    , door_(door)
    , message_(std::move(message))
    , civPort_(new CivPort(door, this))
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
    connect(start, &QPushButton::clicked, this, [this] { startCivPort(path_->text()); });
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
    ui::placeBeside(*this, door.mainWidget(), {600, 320});

    services_.push_back(civPort_);
    connect(&door.taps(), &line::Taps::ticked, this, [this] {
        if (isVisible() && ++ticks_ >= kTicksPerRefresh) {
            refresh();
        }
    });
    rebuild();
}

ShareWindow::~ShareWindow() = default;

QWidget* ShareWindow::makeServerBar()
{
    auto* const bar = new QWidget(this);
    host_ = new QLineEdit(text(serverAddress_.host), bar);
    host_->setObjectName(QStringLiteral("ServerHost"));
    port_ = new QSpinBox(bar);
    port_->setObjectName(QStringLiteral("ServerPort"));
    // 0: a port the system chooses, shown once listening.
    port_->setRange(0, 65535);
    port_->setValue(serverAddress_.port);
    listen_ = new QPushButton(QStringLiteral("Start network server"), bar);
    listen_->setObjectName(QStringLiteral("StartNetworkServer"));
    connect(listen_, &QPushButton::clicked, this, [this] {
        startNetworkServer(
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

void ShareWindow::startNetworkServer(const ListenAddress& address,
                                     std::unique_ptr<platform::ClientListener> bound)
{
    // A running server moves: its clients are hung up.
    std::erase(services_, server_.get());
    server_.reset();
    serverAddress_ = address;
    host_->setText(text(address.host));
    port_->setValue(address.port);
    if (const std::string warning = exposureWarning(address); !warning.empty()) {
        message_(parentWidget(), text(warning), {});
    }
    auto server =
        std::make_unique<RigctlServer>(door_, bound ? std::move(bound) : platform::newTcpListener(),
                                       [this] { return door_.now(); });
    if (const auto error = server->start(address.host, address.port)) {
        const bool inUse = *error == platform::kAddressInUse;
        message_(parentWidget(),
                 QStringLiteral("The Hamlib network server could not listen on %1.")
                     .arg(addressText(address)),
                 text(*error) +
                     (inUse ? QStringLiteral(".\n\n") + inUseAdvice(address.port) : QString()));
        refresh();
        tellNetworkServer();
        return;
    }
    server_ = std::move(server);
    services_.push_back(server_.get());
    refresh();
    tellNetworkServer();
}

void ShareWindow::toggleNetworkServer()
{
    if (!server_ || !server_->running()) {
        startNetworkServer(serverAddress_);
        return;
    }
    std::erase(services_, server_.get());
    server_.reset();
    refresh();
    tellNetworkServer();
}

void ShareWindow::tellNetworkServer()
{
    const bool running = server_ && server_->running();
    listen_->setText(running ? QStringLiteral("Restart network server")
                             : QStringLiteral("Start network server"));
    emit networkServerChanged(running,
                              running ? text(server_->where()) : addressText(serverAddress_));
}

QString ShareWindow::addressText(const ListenAddress& address)
{
    const QString host = text(address.host);
    return (host.contains(u':') ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2"))
        .arg(host)
        .arg(address.port);
}

SharedService* ShareWindow::networkServer() const
{
    return server_.get();
}

QString ShareWindow::startCivPort(const QString& path)
{
    const QString error = civPort_->start(path);
    path_->setText(path);
    status_->setText(error.isEmpty() ? QStringLiteral("Programs open %1 as the radio.").arg(path)
                                     : error);
    refresh();
    return error;
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
    if (rowsOf(services_) != shown_) {
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
    shown_ = rowsOf(services_);
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
                    if (client) {
                        service->stopClient(*client);
                    } else {
                        service->stop();
                    }
                    tellNetworkServer();
                    refreshLater();
                });
    }
}

} // namespace share
