// The entry line's Up and Down keys, taking lines from the history.
#include "monitor/entry_line.h"

#include <QKeyEvent>

namespace monitor {

EntryLine::EntryLine(EntryHistory& history, QWidget* parent)
    : QLineEdit(parent)
    , history_(history)
{}

void EntryLine::keyPressEvent(QKeyEvent* event)
{
    std::optional<std::string> line;
    if (event->key() == Qt::Key_Up) {
        line = history_.older(text().toStdString());
    } else if (event->key() == Qt::Key_Down) {
        line = history_.newer();
    } else {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (line) {
        setText(QString::fromStdString(*line));
    }
}

} // namespace monitor
