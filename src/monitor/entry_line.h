// The Bus Monitor's line for typing frames, with a history on Up and Down.
#pragma once

#include "monitor/hex_entry.h"

#include <QLineEdit>

namespace monitor {

// A line edit where Up and Down step through the lines sent before.
class EntryLine : public QLineEdit {
    Q_OBJECT

public:
    EntryLine(EntryHistory& history, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    EntryHistory& history_;
};

} // namespace monitor
