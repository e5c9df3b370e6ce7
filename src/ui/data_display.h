// The text box Show Data writes to, and how it keeps, follows and paints its text.
#pragma once

#include <QPlainTextEdit>

namespace ui {

// Show Data's display: keeps the newest text, follows it unless the operator has scrolled up,
// and while bytes keep arriving is painted only when the window says so.
class DataDisplay : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int kKeep = 500;

    explicit DataDisplay(QWidget* parent);

    // hold: leave the painting to the next release().
    void append(const QString& text, bool hold);
    // Paints what was held back, if anything was.
    void release();
    // A line of its own after whatever the display holds.
    void appendLine(const QString& line);

private:
    bool held_ = false;
    int maximum_ = 0;
};

} // namespace ui
