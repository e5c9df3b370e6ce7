// What every tool window beside the main one shares: where it first opens, and how it closes.
#pragma once

#include <QSize>

class QPushButton;
class QWidget;

namespace ui {

// Escape and Ctrl+W close the window, as its Close button does; the button is the caller's
// to place.
QPushButton* makeClosable(QWidget& window);

// The first place and size of a tool window: beside the neighbour if its screen has room,
// else over it; wholly inside the screen's available area, never larger than preferred and
// never smaller than its controls need.
void placeBeside(QWidget& window, const QWidget* neighbour, QSize preferred);

} // namespace ui
