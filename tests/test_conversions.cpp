#include "conversions.h"
#include "handler_error.h"
#include "table_test.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

using namespace Qt::StringLiterals;
using lumasio::runtime::doubleToInt32;
using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;
using lumasio::runtime::int32ToText;
using lumasio::runtime::textToDouble;
using lumasio::tests::Row;
using lumasio::tests::TableTest;

namespace {

// Test names quote the input, shortened so a 400-digit case stays readable.
std::string shortText(const QString &text)
{
    return text.size() <= 24 ? text.toStdString() : text.first(20).toStdString() + "...";
}

const QLocale Chinese(QLocale::Chinese, QLocale::China);
const QLocale German(QLocale::German, QLocale::Germany);

// Text as typed, in the locale of the user who typed it.
struct Typed {
    const QLocale *locale;
    QString text;
};

std::string describe(const Typed &typed)
{
    return typed.locale->name().toStdString() + " \"" + shortText(typed.text) + '"';
}

using TextToDoubleAccepts = TableTest<Typed, double>;

TEST_P(TextToDoubleAccepts, GivesTheCorrectlyRoundedDouble)
{
    const auto &[typed, expected] = GetParam();
    const double got = textToDouble(typed.text, *typed.locale);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected))
        << got << " != " << expected;
}

const Row<Typed, double> Accepted[] = {
    {{&Chinese, u"3000"_s}, 3000.0},
    {{&Chinese, u"+3000"_s}, 3000.0},
    {{&Chinese, u"-100"_s}, -100.0},
    {{&Chinese, u"-0"_s}, -0.0},
    {{&Chinese, u"1234.5"_s}, 1234.5},
    {{&Chinese, u"5."_s}, 5.0},
    {{&Chinese, u".5"_s}, 0.5},
    {{&Chinese, u"1e3"_s}, 1000.0},
    {{&Chinese, u"2.5E-1"_s}, 0.25},
    {{&Chinese, u"1e+2"_s}, 100.0},
    {{&Chinese, u"  42\t"_s}, 42.0},
    {{&Chinese, u"\u3000"
                "42\u3000"_s},
     42.0},
    {{&Chinese, u"0.93"_s}, std::bit_cast<double>(0x3FEDC28F5C28F5C3ULL)},
    {{&Chinese, u"1.7976931348623157e308"_s}, 1.7976931348623157e308},
    {{&Chinese, u"1e-400"_s}, 0.0},
    {{&Chinese, u"-1e-400"_s}, -0.0},
    {{&Chinese, u"4.9e-324"_s}, 4.9e-324},
    {{&Chinese, u"0e999999999999999999999"_s}, 0.0},
    // Group separators, where each one sits in its place.
    {{&Chinese, u"1,234"_s}, 1234.0},
    {{&Chinese, u"12,345,678.25"_s}, 12345678.25},
    {{&German, u"1.234"_s}, 1234.0},
    {{&German, u"1.234,5"_s}, 1234.5},
    {{&German, u"3000,75"_s}, 3000.75},
    // Full-width forms, as typed by a Chinese input method.
    {{&Chinese, u"３０００"_s}, 3000.0},
    {{&Chinese, u"１２３４．５"_s}, 1234.5},
    {{&Chinese, u"－１００"_s}, -100.0},
    {{&Chinese, u"＋５"_s}, 5.0},
    {{&German, u"１．２３４"_s}, 1234.0},
};

INSTANTIATE_TEST_SUITE_P(Syntax, TextToDoubleAccepts, testing::ValuesIn(Accepted));

using TextToDoubleRejects = TableTest<Typed, ErrorKind>;

TEST_P(TextToDoubleRejects, RaisesTheError)
{
    const auto &[typed, kind] = GetParam();
    try {
        const double got = textToDouble(typed.text, *typed.locale);
        FAIL() << "accepted as " << got;
    } catch (const Error &error) {
        EXPECT_EQ(error.kind(), kind) << error.what();
        EXPECT_FALSE(error.message().isEmpty());
    }
}

constexpr auto Mismatch = ErrorKind::TypeMismatch;

const Row<Typed, ErrorKind> Rejected[] = {
    {{&Chinese, u""_s}, Mismatch},
    {{&Chinese, u"   "_s}, Mismatch},
    {{&Chinese, u"\u3000\t"_s}, Mismatch},
    {{&Chinese, u"abc"_s}, Mismatch},
    {{&Chinese, u"inf"_s}, Mismatch},
    {{&Chinese, u"-infinity"_s}, Mismatch},
    {{&Chinese, u"nan"_s}, Mismatch},
    {{&Chinese, u"0x10"_s}, Mismatch},
    {{&Chinese, u"0x1p3"_s}, Mismatch},
    {{&Chinese, u"3000元"_s}, Mismatch},
    {{&Chinese, u"30 00"_s}, Mismatch},
    {{&Chinese, u"- 5"_s}, Mismatch},
    {{&Chinese, u"--5"_s}, Mismatch},
    {{&Chinese, u"5-"_s}, Mismatch},
    {{&Chinese, u"."_s}, Mismatch},
    {{&Chinese, u"1e"_s}, Mismatch},
    {{&Chinese, u"e5"_s}, Mismatch},
    {{&Chinese, u"1.2.3"_s}, Mismatch},
    {{&Chinese, u"1,2,3"_s}, Mismatch},
    {{&Chinese, u"1234,567"_s}, Mismatch},
    {{&Chinese, u",123"_s}, Mismatch},
    {{&Chinese, u"123,"_s}, Mismatch},
    {{&Chinese, u"1,,234"_s}, Mismatch},
    {{&Chinese, u"1.234,5"_s}, Mismatch},
    {{&Chinese, u"\u0663\u0660"_s}, Mismatch}, // Arabic-Indic digits
    {{&Chinese, u"3\u200b000"_s}, Mismatch},   // zero-width space
    // Blanks beyond space, tab and U+3000, which QLocale would trim.
    {{&Chinese, u"3000\n"_s}, Mismatch},
    {{&Chinese, u"\r3000"_s}, Mismatch},
    {{&Chinese, u"3000\u00a0"_s}, Mismatch},
    {{&Chinese, u"+inf"_s}, Mismatch},
    {{&German, u"1.5"_s}, Mismatch},
    {{&German, u"1,234.5"_s}, Mismatch},
    {{&Chinese, u"1e400"_s}, ErrorKind::Overflow},
    {{&Chinese, u"-1e400"_s}, ErrorKind::Overflow},
    {{&Chinese, u"1e99999999999999999999"_s}, ErrorKind::Overflow},
    {{&Chinese, QString(400, u'9')}, ErrorKind::Overflow},
};

INSTANTIATE_TEST_SUITE_P(Syntax, TextToDoubleRejects, testing::ValuesIn(Rejected));

using DoubleToInt32Rounds = TableTest<double, qint32>;

TEST_P(DoubleToInt32Rounds, ToNearestTiesToEven)
{
    EXPECT_EQ(doubleToInt32(GetParam().in), GetParam().out);
}

const Row<double, qint32> Roundings[] = {
    {0.5, 0},
    {1.5, 2},
    {2.5, 2},
    {160.5, 160},
    {-46.5, -46},
    {-0.5, 0},
    {-1.5, -2},
    {511.49999999999994, 511},
    {0.49999999999999994, 0},
    {32767.5, 32768},
    {2147483647.4, 2147483647},
    {-2147483648.5, -2147483648},
    {-0.0, 0},
};

INSTANTIATE_TEST_SUITE_P(Ties, DoubleToInt32Rounds, testing::ValuesIn(Roundings));

TEST(DoubleToInt32, RaisesOverflowOutsideTheRange)
{
    for (const double value :
         {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 1e300, -1e300,
          std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        try {
            const qint32 got = doubleToInt32(value);
            ADD_FAILURE() << value << " gave " << got;
        } catch (const Error &error) {
            EXPECT_EQ(error.kind(), ErrorKind::Overflow) << value;
        }
    }
}

TEST(Int32ToText, PlainDecimalDigits)
{
    EXPECT_EQ(int32ToText(0), u"0"_s);
    EXPECT_EQ(int32ToText(-107), u"-107"_s);
    EXPECT_EQ(int32ToText(2147483647), u"2147483647"_s);
    EXPECT_EQ(int32ToText(-2147483647 - 1), u"-2147483648"_s);
}

} // namespace
