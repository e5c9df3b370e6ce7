#include "ui/port_popup.h"

#include <algorithm>

namespace ui {

PortPopup::PortPopup(QWidget* parent)
    : QComboBox(parent)
{
    // A new row has been announced by currentIndexChanged already, which comes first.
    connect(this, &QComboBox::activated, this, [this](int row) {
        if (rowBeforePick_ == row && sameRowChosen) {
            sameRowChosen();
        }
        rowBeforePick_.reset();
    });
}

void PortPopup::showPopup()
{
    if (aboutToShowPopup) {
        aboutToShowPopup();
    }
    rowBeforePick_ = currentIndex();
    QComboBox::showPopup();
}

QList<platform::PortEntry> PortPopup::relist(QList<platform::PortEntry> ports,
                                             const std::optional<platform::PortEntry>& open)
{
    int row = -1;
    if (open) {
        const auto same = [&open](const platform::PortEntry& p) {
            return p.location == open->location;
        };
        row = int(std::find_if(ports.cbegin(), ports.cend(), same) - ports.cbegin());
        if (row == ports.size()) {
            ports.append(*open);
        }
    }
    const QSignalBlocker blocker(this);
    clear();
    for (const platform::PortEntry& port : ports) {
        addItem(port.displayName, port.location);
    }
    setCurrentIndex(row);
    return ports;
}

} // namespace ui
