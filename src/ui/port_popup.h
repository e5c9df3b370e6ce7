// The port pop-up: the system's ports, read again each time it opens.
#pragma once

#include "platform/serial_connection.h"

#include <QComboBox>
#include <functional>
#include <optional>

namespace ui {

// The port pop-up. It tells when it is about to open, so that the list can be read again, and
// when the operator picks the row that was already selected, which is no change to QComboBox.
// No Q_OBJECT on purpose: to the meta-object system it stays the design's QComboBox.
class PortPopup : public QComboBox {
public:
    explicit PortPopup(QWidget* parent);

    void showPopup() override;
    // Lists ports, row i for port i, without a change signal. The selected port stays
    // selected, and listed even when the system no longer lists it.
    void relist(QList<platform::PortEntry> ports);
    // Where the port of a row is; empty for a row that does not exist.
    QString location(int row) const;

    std::function<void()> aboutToShowPopup;
    std::function<void()> sameRowChosen;

private:
    QList<platform::PortEntry> ports_;
    std::optional<int> rowBeforePick_;
};

} // namespace ui
