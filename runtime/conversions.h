#pragma once

#include <QLocale>
#include <QString>

namespace lumasio::runtime {

// Text to double, correctly rounded, in the number syntax users type: blanks
// (space, tab, U+3000) trimmed at both ends; full-width digits, "．", "＋" and
// "－" read as their ASCII forms; an optional sign; the locale's decimal point
// and, in the integer part, its group separators where each sits in its
// place; an optional exponent. Raises the type-mismatch error for text that
// isn't a number and the overflow error beyond the double range; a number too
// small to tell from zero is zero.
[[nodiscard]] double textToDouble(QStringView text, const QLocale &locale = QLocale());

// Rounds to the nearest integer, ties to even. Raises the overflow error
// outside -2147483648 to 2147483647 (NaN included).
[[nodiscard]] qint32 doubleToInt32(double value);

// The decimal text of a 32-bit integer: "-" for negative values, then the
// digits, with no grouping.
[[nodiscard]] inline QString int32ToText(qint32 value)
{
    return QString::number(value);
}

} // namespace lumasio::runtime
