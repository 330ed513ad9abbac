#include "conversions.h"

#include "handler_error.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace lumasio::runtime {

namespace {

// What a Chinese input method types for a number, in ASCII. Only these: other
// scripts' digits stay what they are and make the text no number.
[[nodiscard]] QString foldFullWidth(QStringView text)
{
    QString folded = text.toString();
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        if ((u >= u'０' && u <= u'９') || u == u'．' || u == u'＋' || u == u'－') {
            c = QChar(u - (u'０' - u'0'));
        }
    }
    return folded;
}

// The syntax is checked here, not left to QLocale, which is wider: it trims
// every kind of white space, reads "inf" and "nan", and takes some locales'
// digits. [0-9], since \d would match any script's digits. Compiling the
// pattern takes some 40 µs, matching it well under one, so the last one is
// kept; it changes only with the locale.
[[nodiscard]] const QRegularExpression &numberSyntax(const QString &group, const QString &point)
{
    static thread_local QRegularExpression syntax;
    const QString pattern = QRegularExpression::anchoredPattern(
        uR"([ \t\x{3000}]*([+-]?(?=[0-9]|%2[0-9])(?:[0-9]{1,3}(?:%1[0-9]{3})+|[0-9]*)(?:%2[0-9]*)?(?:[eE][+-]?[0-9]+)?)[ \t\x{3000}]*)"_s
            .arg(QRegularExpression::escape(group), QRegularExpression::escape(point)));
    syntax.setPattern(pattern); // the same pattern again keeps it compiled
    return syntax;
}

} // namespace

double textToDouble(QStringView text, const QLocale &locale)
{
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    const QRegularExpressionMatch match = numberSyntax(group, point).match(foldFullWidth(text));
    if (!match.hasMatch()) {
        throw Error::typeMismatch(text);
    }
    QString number = match.captured(1);
    number.remove(group);
    number.replace(point, u"."_s);

    // Qt's parser rounds correctly. Out of range it fails with infinity for
    // a number too large and zero for one too small.
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (ok) {
        return value;
    }
    if (std::isinf(value)) {
        throw Error::numberOutOfRange(text);
    }
    return number.startsWith(u'-') ? -0.0 : 0.0;
}

qint32 doubleToInt32(double value)
{
    // Decide the range on the rounded double: converting an out-of-range
    // double to an integer is undefined. Both bounds are exact doubles.
    const double rounded = std::nearbyint(value); // ties to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw Error::integerOverflow();
    }
    return static_cast<qint32>(rounded);
}

} // namespace lumasio::runtime
