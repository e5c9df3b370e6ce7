// Fields whose input was refused, each marked until its text is valid again.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <functional>

class QLineEdit;

namespace ui {

// Fields whose input was refused: each is marked until its text is valid again. The caller is
// told which refusal to show: the newest mark, or after a correction another field still marked.
class FieldMarks {
public:
    // Empty text: no field is marked any more.
    using Tell = std::function<void(const QString& text)>;

    explicit FieldMarks(Tell tell)
        : tell_(std::move(tell))
    {}

    // hint gives the field's tooltip while it is not marked; without it there is none.
    void watch(QLineEdit* field, std::function<bool()> valid, std::function<QString()> hint = {});
    // A bus address field: its tooltip gives the address in hex and decimal.
    void watchAddress(QLineEdit* field, std::function<int()> address);
    void mark(QLineEdit* field, const QString& text);

private:
    Tell tell_;
    QList<QLineEdit*> fields_;
    QSet<const QLineEdit*> marked_;
};

} // namespace ui
