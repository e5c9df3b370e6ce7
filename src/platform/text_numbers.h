// Numbers read from the start of a text as the window reads its fields, and bytes as hex text.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// The decimal number a text begins with ("234" 234, "14.07" 14.07, "8abc" 8), after optional
// blanks and sign; 0 when the text does not begin with a number.
double numericValue(QStringView text);

// numericValue with the fraction dropped, saturated to the int range.
int integerValue(QStringView text);

// Each byte as two upper-case hex digits and "_": FE FE E0 0A gives "FE_FE_E0_0A_".
QString hexText(QByteArrayView bytes);

} // namespace platform
