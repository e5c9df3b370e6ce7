// Remember Settings: the line's controls watched, and their settings kept or forgotten.
#include "ui/remember_settings.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace ui {

namespace {

template <class Control> Control* named(QWidget& window, const char* name)
{
    auto* const control = window.findChild<Control*>(QLatin1String(name));
    Q_ASSERT(control);
    return control;
}

} // namespace

RememberSettings::RememberSettings(QWidget& window, QAction& item)
    : QObject(&window)
    , item_(item)
    , port_(named<QComboBox>(window, "SerialPopup"))
    , rate_(named<QComboBox>(window, "BaudPopup"))
    , ourId_(named<QLineEdit>(window, "OurIDEditField"))
    , radioId_(named<QLineEdit>(window, "EditRadioID"))
    , bytes_(named<QComboBox>(window, "PopupFreqBytes"))
{
    item_.setChecked(kept_.remembering());
    connect(&item_, &QAction::toggled, this, &RememberSettings::toggled);
    for (QComboBox* const popup : {port_, rate_, bytes_}) {
        connect(popup, &QComboBox::currentIndexChanged, this, &RememberSettings::changed);
    }
    for (QLineEdit* const field : {ourId_, radioId_}) {
        connect(field, &QLineEdit::textChanged, this, &RememberSettings::changed);
    }
}

void RememberSettings::toggled(bool on)
{
    on ? kept_.keep(shown()) : kept_.forget();
}

void RememberSettings::changed()
{
    if (item_.isChecked()) {
        kept_.keep(shown());
    }
}

settings::LineSettings RememberSettings::shown() const
{
    return {port_->currentData().toString(), rate_->currentIndex(), ourId_->text(),
            radioId_->text(), bytes_->currentIndex()};
}

} // namespace ui
