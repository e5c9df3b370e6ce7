#include "ui/port_popup.h"

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

} // namespace ui
