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

// The overflow error of doubleToInt16, kept out of line so the inline path
// stays small.
[[noreturn]] void raiseInt16Overflow();

// Rounds to the nearest integer, ties to even. Raises the overflow error
// outside -32768 to 32767 (NaN included). Inline: it sits on the path of every
// calculation, next to a multiplication the compiler can then schedule with it.
[[nodiscard]] inline qint16 doubleToInt16(double value)
{
    // Decide the range on the double: converting an out-of-range double to an
    // integer type is undefined behaviour.
    if (!(value > -32769.0 && value < 32768.0)) {
        raiseInt16Overflow();
    }
    // Truncation toward zero is defined in this range, and the remainder is
    // exact: the truncated value is zero or within a factor of two of the
    // value (Sterbenz).
    auto rounded = static_cast<int>(value);
    const double remainder = value - rounded; // in (-1, 1), sign of value
    const bool odd = (rounded & 1) != 0;
    if (remainder > 0.5 || (remainder == 0.5 && odd)) {
        ++rounded;
    } else if (remainder < -0.5 || (remainder == -0.5 && odd)) {
        --rounded;
    }
    if (rounded < -32768 || rounded > 32767) {
        raiseInt16Overflow();
    }
    return static_cast<qint16>(rounded);
}

// The decimal text of a 16-bit integer: "-" for negative values, then the
// digits. Six characters at most, so it is held in place, not on the heap.
class Int16Text
{
public:
    explicit Int16Text(qint16 value);

    [[nodiscard]] QStringView view() const
    {
        return {m_digits.data() + m_start, m_digits.data() + m_digits.size()};
    }
    [[nodiscard]] QString toString() const { return view().toString(); }

private:
    std::array<char16_t, 6> m_digits{};
    std::size_t m_start = 0;
};

inline Int16Text::Int16Text(qint16 value)
{
    // Written from the right.
    auto at = m_digits.end();
    int rest = value < 0 ? -static_cast<int>(value) : value;
    do {
        *--at = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        *--at = u'-';
    }
    m_start = static_cast<std::size_t>(at - m_digits.begin());
}

[[nodiscard]] inline Int16Text int16ToText(qint16 value)
{
    return Int16Text(value);
}

} // namespace lumasio::runtime
