#pragma once

#include <QLocale>
#include <QString>

#include <array>
#include <optional>
#include <string>

namespace lumasio::runtime {

// The parts of the user's number format that text-to-number needs, looked
// up once: QLocale builds them afresh on every call.
class NumberFormat
{
public:
    explicit NumberFormat(const QLocale &locale = QLocale());

    [[nodiscard]] QStringView decimalPoint() const { return m_decimalPoint; }
    [[nodiscard]] QStringView groupSeparator() const { return m_groupSeparator; }

private:
    QString m_decimalPoint;
    QString m_groupSeparator;
};

// The number syntax users type, reduced to plain ASCII ("-1234.5e3"): blanks
// (space, tab, U+3000) trimmed at both ends, full-width digits, "．", "＋" and
// "－" taken as their ASCII forms, the locale's decimal point made ".", and the
// locale's group separators dropped where each sits in a correct place.
// Returns nothing for text that isn't a number.
[[nodiscard]] std::optional<std::string> normalizeNumber(QStringView text,
                                                         const NumberFormat &format);

// Text to double, correctly rounded. Raises the type-mismatch error for text
// that isn't a number and the overflow error beyond the double range.
[[nodiscard]] double textToDouble(QStringView text, const NumberFormat &format);

[[nodiscard]] inline double textToDouble(QStringView text, const QLocale &locale = QLocale())
{
    return textToDouble(text, NumberFormat(locale));
}

// The overflow error of doubleToInt32, kept out of line so the inline path
// stays small.
[[noreturn]] void raiseInt32Overflow();

// Rounds to the nearest integer, ties to even. Raises the overflow error
// outside -2147483648 to 2147483647 (NaN included). Inline: it sits on the
// path of every calculation, next to a multiplication the compiler can then
// schedule with it.
[[nodiscard]] inline qint32 doubleToInt32(double value)
{
    // Decide the range on the double: converting an out-of-range double to an
    // integer type is undefined behaviour. Both bounds are exact doubles.
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        raiseInt32Overflow();
    }
    // Truncation toward zero is defined in this range, and the remainder is
    // exact: the truncated value is zero or within a factor of two of the
    // value (Sterbenz). 64 bits hold the rounded value before its range check.
    auto rounded = static_cast<qint64>(value);
    const double remainder = value - static_cast<double>(rounded); // in (-1, 1)
    const bool odd = (rounded & 1) != 0;
    if (remainder > 0.5 || (remainder == 0.5 && odd)) {
        ++rounded;
    } else if (remainder < -0.5 || (remainder == -0.5 && odd)) {
        --rounded;
    }
    if (rounded < -2147483648LL || rounded > 2147483647LL) {
        raiseInt32Overflow();
    }
    return static_cast<qint32>(rounded);
}

// The decimal text of a 32-bit integer: "-" for negative values, then the
// digits. Eleven characters at most, so it is held in place, not on the heap.
class Int32Text
{
public:
    explicit Int32Text(qint32 value);

    [[nodiscard]] QStringView view() const
    {
        return {m_digits.data() + m_start, m_digits.data() + m_digits.size()};
    }
    [[nodiscard]] QString toString() const { return view().toString(); }

private:
    std::array<char16_t, 11> m_digits{};
    std::size_t m_start = 0;
};

inline Int32Text::Int32Text(qint32 value)
{
    // Written from the right; the magnitude of -2147483648 needs 64 bits.
    auto at = m_digits.end();
    qint64 rest = value < 0 ? -static_cast<qint64>(value) : value;
    do {
        *--at = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        *--at = u'-';
    }
    m_start = static_cast<std::size_t>(at - m_digits.begin());
}

[[nodiscard]] inline Int32Text int32ToText(qint32 value)
{
    return Int32Text(value);
}

} // namespace lumasio::runtime
