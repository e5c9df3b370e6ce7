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
                         const bool marked = field->property("invalid").toBool();
                         if (marked && !valid()) {
                             return;
                         }
                         showHint();
                         if (!marked) {
                             return;
                         }
                         field->setProperty("invalid", false);
                         field->setStyleSheet({});
                         // Another field may still hold refused input.
                         for (const QLineEdit* other : fields_) {
                             if (other->property("invalid").toBool()) {
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
    field->setProperty("invalid", true);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd6d6; }"));
    field->setToolTip(text);
    tell_(text);
}

} // namespace ui
