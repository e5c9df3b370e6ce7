// Fields whose input was refused, marked until put right.
#include "ui/field_marks.h"

#include "civ/address.h"

#include <QLineEdit>

namespace ui {

void FieldMarks::watch(QLineEdit* field, std::function<bool()> valid, std::function<QString()> hint)
{
    fields_.append(field);
    const auto showHint = [field, hint = std::move(hint)] {
        field->setToolTip(hint ? hint() : QString());
    };
    showHint();
    QObject::connect(field, &QLineEdit::textChanged, field,
                     [this, field, valid = std::move(valid), showHint] {
                         const bool marked = marked_.contains(field);
                         if (marked && !valid()) {
                             return;
                         }
                         showHint();
                         if (!marked) {
                             return;
                         }
                         marked_.remove(field);
                         field->setStyleSheet({});
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

void FieldMarks::watchAddress(QLineEdit* field, std::function<int()> address)
{
    watch(
        field, [address] { return civ::isEncodableAddress(address()); },
        [address] {
            const int a = address();
            return civ::isEncodableAddress(a) ? QString::fromStdString(civ::addressText(a))
                                              : QString();
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
