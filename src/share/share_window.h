#pragma once

#include "line/door.h"
#include "platform/client_listener.h"
#include "share/rigctl_listen_address.h"
#include "share/shared_service.h"

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace share {

class CivPort;
class RigctlServer;

// Who reaches the radio through this program: each way in, each program on it, and a Stop
// for each. It keeps both ways in: the CI-V port and the Hamlib network server.
class ShareWindow : public QWidget {
    Q_OBJECT

public:
    // A modal message to the operator: text, and a detail below it.
    using Message = std::function<void(QWidget*, const QString&, const QString&)>;

    // Refreshed every this many pump ticks while shown.
    static constexpr int kTicksPerRefresh = 10;
    static constexpr int kStopColumn = 5;

    ShareWindow(line::Door& door, Message message);
    ~ShareWindow() override;

    CivPort& civPort() { return *civPort_; }
    // Empty, or why not; the operator sees the same.
    QString startCivPort(const QString& path);
    // Shown with the CI-V port's path ready for editing.
    void showForCivPort();

    static QString defaultCivPortPath();

    // Warns first when others could reach it; a failure to listen is told, and leaves it off.
    // A listener bound at start-up is served where it is.
    void startNetworkServer(const ListenAddress& address,
                            std::unique_ptr<platform::ClientListener> bound = nullptr);
    // Off when on; on again at the address it last had.
    void toggleNetworkServer();
    // Null while off.
    SharedService* networkServer() const;
    // "127.0.0.1:4532", "[::1]:4532".
    static QString addressText(const ListenAddress& address);

    // One line of the list, and what its Stop stops: the service, or one program on it.
    struct Row {
        QStringList cells;
        SharedService* service = nullptr; // none: no Stop
        std::optional<std::uint32_t> client;

        bool operator==(const Row&) const = default;
    };

signals:
    // Where it listens while running, else where it would.
    void networkServerChanged(bool running, const QString& address);

private:
    QWidget* makeServerBar();
    void tellNetworkServer();
    void refresh();
    void refreshLater();
    void rebuild();

    line::Door& door_;
    Message message_;
    CivPort* civPort_;
    std::unique_ptr<RigctlServer> server_;
    ListenAddress serverAddress_;
    std::vector<SharedService*> services_;
    QLineEdit* path_;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QPushButton* listen_ = nullptr;
    QLabel* status_;
    QTreeWidget* list_;
    std::vector<Row> shown_;
    int ticks_ = 0;
};

} // namespace share
