// Show Data's display: text appended and trimmed, held back from painting, and followed.
#include "ui/data_display.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>

namespace ui {

DataDisplay::DataDisplay(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    // The program appends without end; an undo history would keep every removed byte.
    setUndoRedoEnabled(false);
    // The range grows once the text is laid out, which may be after the append: follow it
    // there, unless the operator had scrolled up from the end.
    QScrollBar* const scroll = verticalScrollBar();
    connect(scroll, &QScrollBar::rangeChanged, this, [this, scroll](int, int maximum) {
        if (scroll->value() >= maximum_) {
            scroll->setValue(maximum);
        }
        maximum_ = maximum;
    });
}

void DataDisplay::append(const QString& text, bool hold)
{
    if (hold) {
        held_ = true;
        viewport()->setUpdatesEnabled(false);
    }
    // While held, the layout's signals would make the view lay the text out at every append
    // to find its scroll offset; the paint on release() lays it out once.
    const QSignalBlocker quiet(held_ ? document()->documentLayout() : nullptr);
    QTextCursor cursor(document());
    // One edit block: the trim and the append are laid out once, not twice.
    cursor.beginEditBlock();
    const int length = document()->characterCount() - 1;
    if (length > kKeep) {
        cursor.setPosition(0);
        cursor.setPosition(length - kKeep, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    // Not movePosition(End): that lays the block out again, which the paint does anyway.
    cursor.setPosition(document()->characterCount() - 1);
    cursor.insertText(text);
    cursor.endEditBlock();
}

void DataDisplay::release()
{
    if (held_) {
        held_ = false;
        viewport()->setUpdatesEnabled(true);
    }
}

void DataDisplay::appendLine(const QString& line)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line + QLatin1Char('\n'));
}

} // namespace ui
