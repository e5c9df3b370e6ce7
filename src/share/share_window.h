// Tools > Share...: each way in, each program on it, and a Stop for each.
#pragma once

#include "line/door.h"
#include "share/rigctl_listen_address.h"
#include "share/shared_service.h"

#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace share {

class Sharing;

// Who reaches the radio through this program: each way in, each program on it, and a Stop
// for each. It shows the application's ways in, the CI-V port and the Hamlib network server.
class ShareWindow : public QWidget {
    Q_OBJECT

public:
    // Refreshed every this many pump ticks while shown.
    static constexpr int kTicksPerRefresh = 10;
    static constexpr int kStopColumn = 5;

    // Beside main; refreshed at the door's ticks.
    ShareWindow(Sharing& sharing, line::Door& door, QWidget* main);
    ~ShareWindow() override;

    // Shown with the CI-V port's path ready for editing.
    void showForCivPort();

    static QString defaultCivPortPath();

    // One line of the list, and what its Stop stops: the service, or one program on it.
    struct Row {
        QStringList cells;
        SharedService* service = nullptr; // none: no Stop
        std::optional<std::uint32_t> client;

        bool operator==(const Row&) const = default;
    };

signals:
    // The operator asked for the network server at this address.
    void networkServerAsked(const share::ListenAddress& address);

private:
    QWidget* makeServerBar();
    void showNetworkServer();
    void refresh();
    void refreshLater();
    void rebuild();
    void showCivPortStatus();

    Sharing& sharing_;
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
