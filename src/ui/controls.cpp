// The main window's controls, made under their design names at their design places.
#include "ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <limits>

namespace ui {

QWidget* placeWidget(QWidget* widget, const char* name, QRect geometry, int textSize)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    // Fixed as designed: a new text then asks no layout pass of the parent, at every tick.
    widget->setFixedSize(geometry.size());
    if (textSize > 0) {
        QFont font = widget->font();
        font.setPixelSize(textSize);
        widget->setFont(font);
    }
    return widget;
}

QLabel* label(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize)
{
    auto* control = place<QLabel>(parent, name, geometry, textSize);
    control->setText(QString::fromLatin1(text));
    control->setTextFormat(Qt::PlainText);
    return control;
}

QLineEdit* field(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize)
{
    auto* control = place<QLineEdit>(parent, name, geometry, textSize);
    control->setMaxLength(std::numeric_limits<int>::max());
    control->setText(QString::fromLatin1(text));
    return control;
}

QCheckBox* checkBox(QWidget* parent, const char* name, QRect geometry, const char* text,
                    int textSize)
{
    auto* control = place<QCheckBox>(parent, name, geometry, textSize);
    control->setText(QString::fromLatin1(text));
    return control;
}

QPushButton* button(QWidget* parent, const char* name, QRect geometry, const char* text,
                    int textSize)
{
    auto* control = place<QPushButton>(parent, name, geometry, textSize);
    control->setText(QString::fromLatin1(text));
    control->setAutoDefault(false);
    return control;
}

QToolButton* toolButton(QWidget* parent, const char* name, QRect geometry, const char* text,
                        int textSize)
{
    auto* const b = place<QToolButton>(parent, name, geometry, textSize);
    b->setText(QLatin1String(text));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* warning(QWidget* parent, const char* name, QRect geometry, const char* text, int textSize)
{
    QLabel* const l = label(parent, name, geometry, text, textSize);
    l->setVisible(false);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, QColor(226, 24, 13));
    l->setPalette(palette);
    return l;
}

QComboBox* popup(QWidget* parent, const char* name, QRect geometry, const QStringList& rows,
                 int textSize)
{
    auto* control = place<QComboBox>(parent, name, geometry, textSize);
    control->addItems(rows);
    control->setCurrentIndex(rows.isEmpty() ? -1 : 0);
    return control;
}

void captions(QWidget* parent)
{
    const struct {
        const char* name;
        QRect geometry;
        const char* text;
        int textSize;
    } captions[] = {{"StaticText1", {20, 14, 70, 20}, "Serial Port:", 12},
                    {"StaticText2", {20, 44, 70, 20}, "Baud Rate:", 12},
                    {"StaticText3", {216, 44, 50, 20}, "Our ID:", 12},
                    {"StaticText4", {20, 142, 43, 19}, "Freq:", 12},
                    {"StaticText5", {200, 110, 66, 20}, "Radio ID:", 0},
                    {"StaticText6", {20, 176, 43, 20}, "Freq:", 0},
                    {"StaticText7", {20, 197, 45, 20}, "Mode:", 0},
                    {"StaticText8", {389, 110, 45, 20}, "Bytes:", 0}};
    for (const auto& c : captions) {
        label(parent, c.name, c.geometry, c.text, c.textSize);
    }
}

QTimer* timer(QObject* owner, const char* name, TimerMode mode, int periodMs)
{
    auto* control = new QTimer(owner);
    control->setObjectName(QLatin1String(name));
    control->setInterval(periodMs);
    control->setTimerType(Qt::PreciseTimer);
    setTimerMode(control, mode);
    return control;
}

void showRow(QComboBox& popup, std::optional<int> row)
{
    if (row) {
        const QSignalBlocker quiet(popup);
        popup.setCurrentIndex(*row);
    }
}

void setTimerMode(QTimer* timer, TimerMode mode)
{
    switch (mode) {
    case TimerMode::Off:
        timer->stop();
        break;
    case TimerMode::Single:
        timer->setSingleShot(true);
        timer->start();
        break;
    case TimerMode::Multiple:
        timer->setSingleShot(false);
        timer->start();
        break;
    }
}

void bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace ui
