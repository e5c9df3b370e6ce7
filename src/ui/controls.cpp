#include "ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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

QComboBox* popup(QWidget* parent, const char* name, QRect geometry, const QStringList& rows,
                 int textSize)
{
    auto* control = place<QComboBox>(parent, name, geometry, textSize);
    control->addItems(rows);
    control->setCurrentIndex(rows.isEmpty() ? -1 : 0);
    return control;
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
