#include "conversions.h"

#include "error.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace lumasio::runtime {

namespace {

constexpr char16_t FullWidthZero = u'０';
constexpr char16_t FullWidthNine = u'９';

[[nodiscard]] QChar toHalfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= FullWidthZero && u <= FullWidthNine) {
        return QChar(u'0' + (u - FullWidthZero));
    }
    switch (u) {
    case u'．':
        return QChar(u'.');
    case u'＋':
        return QChar(u'+');
    case u'－':
        return QChar(u'-');
    default:
        return c;
    }
}

[[nodiscard]] bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

[[nodiscard]] bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A cursor over the normalised text that knows the locale's separators.
class Scanner
{
public:
    Scanner(QStringView text, QString decimalPoint, QString groupSeparator)
        : m_text(text)
        , m_decimalPoint(std::move(decimalPoint))
        , m_groupSeparator(std::move(groupSeparator))
    {}

    [[nodiscard]] bool atEnd() const { return m_pos == m_text.size(); }
    [[nodiscard]] QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void advance() { ++m_pos; }

    [[nodiscard]] bool skip(QStringView token)
    {
        if (token.isEmpty() || !m_text.sliced(m_pos).startsWith(token)) {
            return false;
        }
        m_pos += token.size();
        return true;
    }

    [[nodiscard]] bool skipDecimalPoint() { return skip(m_decimalPoint); }
    [[nodiscard]] bool skipGroupSeparator() { return skip(m_groupSeparator); }

    // Appends a run of ASCII digits to out; returns how many there were.
    qsizetype digits(std::string &out)
    {
        const qsizetype start = m_pos;
        while (!atEnd() && isAsciiDigit(peek())) {
            out.push_back(static_cast<char>(peek().unicode()));
            advance();
        }
        return m_pos - start;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_decimalPoint;
    QString m_groupSeparator;
};

// The integer part: either plain digits, or groups of three digits after a
// leading group of one to three.
[[nodiscard]] bool scanIntegerPart(Scanner &scanner, std::string &out)
{
    qsizetype group = scanner.digits(out);
    bool grouped = false;
    while (scanner.skipGroupSeparator()) {
        if (group < 1 || (!grouped && group > 3)) {
            return false;
        }
        grouped = true;
        group = scanner.digits(out);
        if (group != 3) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> normalizeNumber(QStringView text, const QLocale &locale)
{
    QString halfWidth;
    halfWidth.reserve(text.size());
    for (const QChar c : text) {
        halfWidth.append(toHalfWidth(c));
    }
    QStringView view(halfWidth);
    while (!view.isEmpty() && isBlank(view.front())) {
        view = view.sliced(1);
    }
    while (!view.isEmpty() && isBlank(view.back())) {
        view.chop(1);
    }

    Scanner scanner(view, locale.decimalPoint(), locale.groupSeparator());
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(view.size()) + 1);

    if (scanner.peek() == u'+' || scanner.peek() == u'-') {
        if (scanner.peek() == u'-') {
            ascii.push_back('-');
        }
        scanner.advance();
    }

    const std::size_t mantissaStart = ascii.size();
    if (!scanIntegerPart(scanner, ascii)) {
        return std::nullopt;
    }
    bool haveDigits = ascii.size() > mantissaStart;
    if (scanner.skipDecimalPoint()) {
        ascii.push_back('.');
        haveDigits = scanner.digits(ascii) > 0 || haveDigits;
    }
    if (!haveDigits) {
        return std::nullopt;
    }

    if (scanner.peek() == u'e' || scanner.peek() == u'E') {
        scanner.advance();
        ascii.push_back('e');
        if (scanner.peek() == u'+' || scanner.peek() == u'-') {
            ascii.push_back(static_cast<char>(scanner.peek().unicode()));
            scanner.advance();
        }
        if (scanner.digits(ascii) == 0) {
            return std::nullopt;
        }
    }

    if (!scanner.atEnd()) {
        return std::nullopt;
    }
    return ascii;
}

namespace {

// Whether a number that from_chars found out of range is too large (rather
// than too small) for a double: its first significant digit sits at or left
// of the units place.
[[nodiscard]] bool isTooLarge(const std::string &ascii)
{
    long long position = 0; // decimal position of the first significant digit
    bool seenPoint = false;
    bool found = false;
    long long leadingFractionZeros = 0;
    long long integerDigits = 0;
    std::size_t i = 0;
    for (; i < ascii.size() && ascii[i] != 'e'; ++i) {
        const char c = ascii[i];
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!found && c != '0') {
                found = true;
            }
            if (!seenPoint && found) {
                ++integerDigits;
            } else if (seenPoint && !found) {
                ++leadingFractionZeros;
            }
        }
    }
    position = integerDigits > 0 ? integerDigits : -leadingFractionZeros;

    long long exponent = 0;
    if (i < ascii.size()) {
        std::size_t j = i + 1;
        const bool negative = j < ascii.size() && ascii[j] == '-';
        if (j < ascii.size() && (ascii[j] == '-' || ascii[j] == '+')) {
            ++j;
        }
        for (; j < ascii.size(); ++j) {
            // Saturate: anything beyond a few thousand is decided already.
            exponent = std::min<long long>(exponent * 10 + (ascii[j] - '0'), 1'000'000'000);
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    return position + exponent > 0;
}

} // namespace

double textToDouble(QStringView text, const QLocale &locale)
{
    const std::optional<std::string> ascii = normalizeNumber(text, locale);
    if (!ascii) {
        throw Error::typeMismatch(text);
    }
    double value = 0.0;
    const char *first = ascii->data();
    const char *last = first + ascii->size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        if (isTooLarge(*ascii)) {
            throw Error::numberOutOfRange(text);
        }
        // Too small to tell from zero.
        return ascii->front() == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || end != last) {
        throw Error::typeMismatch(text);
    }
    return value;
}

qint16 doubleToInt16(double value)
{
    // Decide the range on the double: converting an out-of-range double to an
    // integer type is undefined behaviour.
    if (!(value > -32769.0 && value < 32768.0)) {
        throw Error::integerOverflow();
    }
    double rounded = std::floor(value);
    const double fraction = value - rounded; // exact for this range
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        throw Error::integerOverflow();
    }
    return static_cast<qint16>(rounded);
}

QString int16ToText(qint16 value)
{
    return QString::number(value);
}

} // namespace lumasio::runtime
