// The line's settings kept between runs, only once the operator has asked for it.
#pragma once

#include "serial/baud_rates.h"

#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace settings {

// What the main window starts with: unless kept, the values a fresh start gives.
struct LineSettings {
    QString port; // location; empty: the first the system lists
    int baudCode = serial::kDefaultBaudCode;
    QString ourId = QStringLiteral("234"); // as typed
    QString radioId = QStringLiteral("8");
    int bytesRow = 0; // "4"

    bool operator==(const LineSettings&) const = default;
};

// Where Qt keeps a user's settings (~/.config/icom-interface/icom-interface.conf). Nothing is
// written, not even the file, until keep() is first called.
class KeptSettings {
public:
    KeptSettings();
    ~KeptSettings();

    // Whether the operator asked for it, in this run or an earlier one.
    bool remembering() const;
    // What was kept; nothing while not remembering.
    std::optional<LineSettings> load() const;
    // Remembers from now on, these values.
    void keep(const LineSettings& values);
    // Remembers no more: the file goes.
    void forget();

private:
    std::unique_ptr<QSettings> file_;
};

} // namespace settings
