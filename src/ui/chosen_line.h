// The line as the main window's controls choose it, in the door's terms.
#pragma once

#include "line/door.h"

#include <QString>

namespace ui {

// location: the chosen port's, empty when none is chosen; baudCode: the rate pop-up's row;
// the address fields' texts as typed.
line::Settings chosenLine(const QString& location, int baudCode, const QString& ourText,
                          const QString& radioText);

} // namespace ui
