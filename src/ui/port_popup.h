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
    // Lists ports, row i for port i, without a change signal. The open port keeps its row, and
    // stays listed while it is chosen even when the system no longer lists it. Returns the list.
    QList<platform::PortEntry> relist(QList<platform::PortEntry> ports,
                                      const std::optional<platform::PortEntry>& open);

    std::function<void()> aboutToShowPopup;
    std::function<void()> sameRowChosen;

private:
    std::optional<int> rowBeforePick_;
};

} // namespace ui
