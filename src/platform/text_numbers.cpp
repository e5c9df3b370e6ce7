// The leading number of a text, as a double or a saturated int, and bytes as hex text.
#include "platform/text_numbers.h"

#include <cmath>
#include <limits>

namespace platform {

double numericValue(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    qsizetype digits = 0;
    for (; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        for (; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

int integerValue(QStringView text)
{
    const double value = std::trunc(numericValue(text));
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (value <= lowest) {
        return std::numeric_limits<int>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

QString hexText(QByteArrayView bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(QLatin1Char(digits[b / 16]));
        text.append(QLatin1Char(digits[b % 16]));
        text.append(QLatin1Char('_'));
    }
    return text;
}

} // namespace platform
