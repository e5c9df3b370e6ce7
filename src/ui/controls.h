// The main window's controls, made under their design names at their design places.
#pragma once

#include <QRect>
#include <QStringList>
#include <optional>
#include <span>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;

namespace ui {

enum class TimerMode { Off = 0, Single = 1, Multiple = 2 };

// Creates a control owned by parent under its design name, at its design place. A text size
// of 0 keeps the platform's default.
QWidget* placeWidget(QWidget* widget, const char* name, QRect geometry, int textSize);

template <class W> W* place(QWidget* parent, const char* name, QRect geometry, int textSize)
{
    auto* widget = new W(parent);
    placeWidget(widget, name, geometry, textSize);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize);
QLineEdit* field(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize);
QCheckBox* checkBox(QWidget* parent, const char* name, QRect geometry, const char* text,
                    int textSize);
QPushButton* button(QWidget* parent, const char* name, QRect geometry, const char* text,
                    int textSize);
// A bevel button: it takes no focus from the field it acts on.
QToolButton* toolButton(QWidget* parent, const char* name, QRect geometry, const char* text,
                        int textSize);
// Hidden until shown, in red.
QLabel* warning(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize);
// The rows go in first, then the first row is selected, as at design time.
QComboBox* popup(QWidget* parent, const char* name, QRect geometry, const QStringList& rows,
                 int textSize);
// The captions beside the controls, StaticText1 to StaticText8: no handler reads them.
void captions(QWidget* parent);
QTimer* timer(QObject* owner, const char* name, TimerMode mode, int periodMs);

// The captions of a table's rows, for a pop-up.
template <class Row> QStringList captions(std::span<const Row> rows)
{
    QStringList out;
    for (const Row& row : rows) {
        out.append(QString::fromLatin1(row.caption.data(), qsizetype(row.caption.size())));
    }
    return out;
}

void setTimerMode(QTimer* timer, TimerMode mode);

// Shows a row without a change signal: the radio's own mode and filter in the pop-ups, so that
// nothing is sent and the operator's next choice changes only what they chose. Nothing: as is.
void showRow(QComboBox& popup, std::optional<int> row);

// Shown, on top and active: a window the operator asked for.
void bringUp(QWidget* window);

} // namespace ui
