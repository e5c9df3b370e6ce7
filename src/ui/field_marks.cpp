// Fields whose input was refused, marked until put right.
#include "ui/field_marks.h"

#include <QLineEdit>

namespace ui {

void FieldMarks::watch(QLineEdit* field, std::function<bool()> valid)
{
    fields_.append(field);
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [this, field, valid = std::move(valid)] {
                         if (!marked_.contains(field) || !valid()) {
                             return;
                         }
                         marked_.remove(field);
                         field->setStyleSheet({});
                         field->setToolTip({});
                         // Another field may still hold refused input.
                         for (const QLineEdit* other : fields_) {
                             if (marked_.contains(other)) {
                                 tell_(other->toolTip());
                                 return;
                             }
                         }
                         tell_({});
                     });
}

void FieldMarks::mark(QLineEdit* field, const QString& text)
{
    marked_.insert(field);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd6d6; }"));
    field->setToolTip(text);
    tell_(text);
}

} // namespace ui
