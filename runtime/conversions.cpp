#include "conversions.h"

#include "error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace lumasio::runtime {

NumberFormat::NumberFormat(const QLocale &locale)
    : m_decimalPoint(locale.decimalPoint())
    , m_groupSeparator(locale.groupSeparator())
{}

namespace {

constexpr char16_t FullWidthZero = u'０';
constexpr char16_t FullWidthNine = u'９';

[[nodiscard]] QChar toHalfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80) {
        return c;
    }
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

// A cursor over the text that reads full-width forms as their ASCII ones.
class Scanner
{
public:
    Scanner(QStringView text, const NumberFormat &format)
        : m_text(text)
        , m_format(format)
    {}

    [[nodiscard]] bool atEnd() const { return m_pos == m_text.size(); }
    [[nodiscard]] QChar peek() const { return atEnd() ? QChar() : toHalfWidth(m_text[m_pos]); }
    void advance() { ++m_pos; }

    [[nodiscard]] bool skip(QStringView token)
    {
        if (token.isEmpty() || m_text.size() - m_pos < token.size()) {
            return false;
        }
        for (qsizetype i = 0; i < token.size(); ++i) {
            if (toHalfWidth(m_text[m_pos + i]) != token[i]) {
                return false;
            }
        }
        m_pos += token.size();
        return true;
    }

    [[nodiscard]] bool skipDecimalPoint() { return skip(m_format.decimalPoint()); }
    [[nodiscard]] bool skipGroupSeparator() { return skip(m_format.groupSeparator()); }

    // Copies a run of ASCII digits to out; returns how many there were.
    qsizetype digits(char *&out)
    {
        const qsizetype start = m_pos;
        for (QChar c = peek(); isAsciiDigit(c); c = peek()) {
            *out++ = static_cast<char>(c.unicode());
            advance();
        }
        return m_pos - start;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    const NumberFormat &m_format;
};

// The integer part: either plain digits, or groups of three digits after a
// leading group of one to three.
[[nodiscard]] bool scanIntegerPart(Scanner &scanner, char *&out)
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

// Writes the ASCII form of text to out, which has room for text.size()
// characters: the ASCII form is never longer. Returns its length, or -1 for
// text that isn't a number.
qsizetype normalizeInto(QStringView text, const NumberFormat &format, char *out)
{
    QStringView view = text;
    while (!view.isEmpty() && isBlank(view.front())) {
        view = view.sliced(1);
    }
    while (!view.isEmpty() && isBlank(view.back())) {
        view.chop(1);
    }

    Scanner scanner(view, format);
    char *const begin = out;

    if (scanner.peek() == u'+' || scanner.peek() == u'-') {
        if (scanner.peek() == u'-') {
            *out++ = '-';
        }
        scanner.advance();
    }

    const char *const mantissa = out;
    if (!scanIntegerPart(scanner, out)) {
        return -1;
    }
    bool haveDigits = out > mantissa;
    if (scanner.skipDecimalPoint()) {
        *out++ = '.';
        haveDigits = scanner.digits(out) > 0 || haveDigits;
    }
    if (!haveDigits) {
        return -1;
    }

    if (scanner.peek() == u'e' || scanner.peek() == u'E') {
        scanner.advance();
        *out++ = 'e';
        if (scanner.peek() == u'+' || scanner.peek() == u'-') {
            *out++ = static_cast<char>(scanner.peek().unicode());
            scanner.advance();
        }
        if (scanner.digits(out) == 0) {
            return -1;
        }
    }

    if (!scanner.atEnd()) {
        return -1;
    }
    return out - begin;
}

} // namespace

std::optional<std::string> normalizeNumber(QStringView text, const NumberFormat &format)
{
    std::string ascii(static_cast<std::size_t>(text.size()), '\0');
    const qsizetype length = normalizeInto(text, format, ascii.data());
    if (length < 0) {
        return std::nullopt;
    }
    ascii.resize(static_cast<std::size_t>(length));
    return ascii;
}

namespace {

// Whether a number that from_chars found out of range is too large (rather
// than too small) for a double: its first significant digit sits at or left
// of the units place.
[[nodiscard]] bool isTooLarge(std::string_view ascii)
{
    bool seenPoint = false;
    bool found = false; // the first significant digit
    long long leadingFractionZeros = 0;
    long long integerDigits = 0;
    std::size_t i = 0;
    for (; i < ascii.size() && ascii[i] != 'e'; ++i) {
        const char c = ascii[i];
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            found = found || c != '0';
            if (!seenPoint && found) {
                ++integerDigits;
            } else if (seenPoint && !found) {
                ++leadingFractionZeros;
            }
        }
    }
    // The decimal position of the first significant digit.
    const long long position = integerDigits > 0 ? integerDigits : -leadingFractionZeros;

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

// Normalises text into buffer, which has room for text.size() characters,
// and converts the ASCII form with from_chars, raising the runtime's errors.
[[nodiscard]] double convert(QStringView text, const NumberFormat &format, char *buffer)
{
    const qsizetype length = normalizeInto(text, format, buffer);
    if (length < 0) {
        throw Error::typeMismatch(text);
    }
    const char *const last = buffer + length;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(buffer, last, value);
    if (ec == std::errc::result_out_of_range) {
        if (isTooLarge({buffer, static_cast<std::size_t>(length)})) {
            throw Error::numberOutOfRange(text);
        }
        // Too small to tell from zero.
        return buffer[0] == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || end != last) {
        throw Error::typeMismatch(text);
    }
    return value;
}

} // namespace

double textToDouble(QStringView text, const NumberFormat &format)
{
    // A price fits a stack buffer; only text that is no price needs the heap.
    constexpr qsizetype Small = 64;
    if (text.size() <= Small) [[likely]] {
        char ascii[Small]; // NOLINT: written by normalizeInto before it is read
        return convert(text, format, ascii);
    }
    std::string ascii(static_cast<std::size_t>(text.size()), '\0');
    return convert(text, format, ascii.data());
}

void raiseInt32Overflow()
{
    throw Error::integerOverflow();
}

} // namespace lumasio::runtime
