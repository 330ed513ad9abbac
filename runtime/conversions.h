#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

namespace lumasio::runtime {

// The number syntax users type, reduced to plain ASCII ("-1234.5e3"): blanks
// (space, tab, U+3000) trimmed at both ends, full-width digits, "．", "＋" and
// "－" taken as their ASCII forms, the locale's decimal point made ".", and the
// locale's group separators dropped where each sits in a correct place.
// Returns nothing for text that isn't a number.
[[nodiscard]] std::optional<std::string> normalizeNumber(QStringView text, const QLocale &locale);

// Text to double, correctly rounded. Raises the type-mismatch error for text
// that isn't a number and the overflow error beyond the double range.
[[nodiscard]] double textToDouble(QStringView text, const QLocale &locale = QLocale());

// Rounds to the nearest integer, ties to even. Raises the overflow error
// outside -32768 to 32767 (NaN included).
[[nodiscard]] qint16 doubleToInt16(double value);

// "-" for negative values, then the decimal digits.
[[nodiscard]] QString int16ToText(qint16 value);

} // namespace lumasio::runtime
