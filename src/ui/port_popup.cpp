// The port pop-up: rows of the system's ports, the chosen one kept.
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

void PortPopup::relist(QList<platform::PortEntry> ports)
{
    int row = -1;
    if (const int selected = currentIndex(); selected >= 0 && selected < ports_.size()) {
        const platform::PortEntry open = ports_.at(selected);
        const auto same = [&open](const platform::PortEntry& p) {
            return p.location == open.location;
        };
        row = int(std::find_if(ports.cbegin(), ports.cend(), same) - ports.cbegin());
        if (row == ports.size()) {
            ports.append(open);
        }
    }
    const QSignalBlocker blocker(this);
    clear();
    ports_ = std::move(ports);
    for (const platform::PortEntry& port : ports_) {
        addItem(port.displayName, port.location);
    }
    setCurrentIndex(row);
}

QString PortPopup::location(int row) const
{
    return row >= 0 && row < ports_.size() ? ports_.at(row).location : QString();
}

} // namespace ui
