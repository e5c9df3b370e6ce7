// Tools > Remember Settings: the main window's line settings kept while the item is ticked.
#pragma once

#include "settings/kept_settings.h"

#include <QObject>

class QAction;
class QComboBox;
class QLineEdit;
class QWidget;

namespace ui {

// Ticked, it keeps the port, rate, addresses and bytes the window shows, at every change of
// them, whoever made it (the operator or the check's "Use these settings"). Unticked, the
// file goes and nothing more is written.
class RememberSettings : public QObject {
public:
    // Finds the controls in window by their names; item is checkable.
    RememberSettings(QWidget& window, QAction& item);

private:
    void toggled(bool on);
    void changed();
    settings::LineSettings shown() const;

    QAction& item_;
    settings::KeptSettings kept_;
    QComboBox* port_;
    QComboBox* rate_;
    QLineEdit* ourId_;
    QLineEdit* radioId_;
    QComboBox* bytes_;
};

} // namespace ui
