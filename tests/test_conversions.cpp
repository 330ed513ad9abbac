#include "conversions.h"
#include "error.h"

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

namespace {

// Test names quote the input, shortened so a 400-digit case stays readable.
std::string shortText(const QString &text)
{
    return text.size() <= 24 ? text.toStdString() : text.first(20).toStdString() + "...";
}

const QLocale Chinese(QLocale::Chinese, QLocale::China);
const QLocale German(QLocale::German, QLocale::Germany);

struct Accepted {
    const QLocale *locale;
    QString text;
    double expected;
};

void PrintTo(const Accepted &c, std::ostream *os)
{
    *os << c.locale->name().toStdString() << " \"" << shortText(c.text) << '"';
}

class TextToDoubleAccepts : public testing::TestWithParam<Accepted>
{};

TEST_P(TextToDoubleAccepts, GivesTheCorrectlyRoundedDouble)
{
    const Accepted &c = GetParam();
    const double got = textToDouble(c.text, *c.locale);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(c.expected))
        << got << " != " << c.expected;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, TextToDoubleAccepts,
    testing::Values(Accepted{&Chinese, u"3000"_s, 3000.0}, Accepted{&Chinese, u"+3000"_s, 3000.0},
                    Accepted{&Chinese, u"-100"_s, -100.0}, Accepted{&Chinese, u"-0"_s, -0.0},
                    Accepted{&Chinese, u"1234.5"_s, 1234.5}, Accepted{&Chinese, u"5."_s, 5.0},
                    Accepted{&Chinese, u".5"_s, 0.5}, Accepted{&Chinese, u"1e3"_s, 1000.0},
                    Accepted{&Chinese, u"2.5E-1"_s, 0.25}, Accepted{&Chinese, u"1e+2"_s, 100.0},
                    Accepted{&Chinese, u"  42\t"_s, 42.0},
                    Accepted{&Chinese,
                             u"\u3000"
                             "42\u3000"_s,
                             42.0},
                    Accepted{&Chinese, u"0.93"_s, std::bit_cast<double>(0x3FEDC28F5C28F5C3ULL)},
                    Accepted{&Chinese, u"1.7976931348623157e308"_s, 1.7976931348623157e308},
                    Accepted{&Chinese, u"1e-400"_s, 0.0}, Accepted{&Chinese, u"-1e-400"_s, -0.0},
                    Accepted{&Chinese, u"4.9e-324"_s, 4.9e-324},
                    Accepted{&Chinese, u"0e999999999999999999999"_s, 0.0},
                    // Group separators, where each one sits in its place.
                    Accepted{&Chinese, u"1,234"_s, 1234.0},
                    Accepted{&Chinese, u"12,345,678.25"_s, 12345678.25},
                    Accepted{&German, u"1.234"_s, 1234.0}, Accepted{&German, u"1.234,5"_s, 1234.5},
                    Accepted{&German, u"3000,75"_s, 3000.75},
                    // Full-width forms, as typed by a Chinese input method.
                    Accepted{&Chinese, u"３０００"_s, 3000.0},
                    Accepted{&Chinese, u"１２３４．５"_s, 1234.5},
                    Accepted{&Chinese, u"－１００"_s, -100.0}, Accepted{&Chinese, u"＋５"_s, 5.0},
                    Accepted{&German, u"１．２３４"_s, 1234.0}));

struct Rejected {
    const QLocale *locale;
    QString text;
    ErrorKind kind;
};

void PrintTo(const Rejected &c, std::ostream *os)
{
    *os << c.locale->name().toStdString() << " \"" << shortText(c.text) << '"';
}

class TextToDoubleRejects : public testing::TestWithParam<Rejected>
{};

TEST_P(TextToDoubleRejects, RaisesTheError)
{
    const Rejected &c = GetParam();
    try {
        const double got = textToDouble(c.text, *c.locale);
        FAIL() << "accepted as " << got;
    } catch (const Error &error) {
        EXPECT_EQ(error.kind(), c.kind) << error.what();
        EXPECT_FALSE(error.message().isEmpty());
    }
}

constexpr auto Mismatch = ErrorKind::TypeMismatch;

INSTANTIATE_TEST_SUITE_P(
    Syntax, TextToDoubleRejects,
    testing::Values(
        Rejected{&Chinese, u""_s, Mismatch}, Rejected{&Chinese, u"   "_s, Mismatch},
        Rejected{&Chinese, u"\u3000\t"_s, Mismatch}, Rejected{&Chinese, u"abc"_s, Mismatch},
        Rejected{&Chinese, u"inf"_s, Mismatch}, Rejected{&Chinese, u"-infinity"_s, Mismatch},
        Rejected{&Chinese, u"nan"_s, Mismatch}, Rejected{&Chinese, u"0x10"_s, Mismatch},
        Rejected{&Chinese, u"0x1p3"_s, Mismatch}, Rejected{&Chinese, u"3000元"_s, Mismatch},
        Rejected{&Chinese, u"30 00"_s, Mismatch}, Rejected{&Chinese, u"- 5"_s, Mismatch},
        Rejected{&Chinese, u"--5"_s, Mismatch}, Rejected{&Chinese, u"5-"_s, Mismatch},
        Rejected{&Chinese, u"."_s, Mismatch}, Rejected{&Chinese, u"1e"_s, Mismatch},
        Rejected{&Chinese, u"e5"_s, Mismatch}, Rejected{&Chinese, u"1.2.3"_s, Mismatch},
        Rejected{&Chinese, u"1,2,3"_s, Mismatch}, Rejected{&Chinese, u"1234,567"_s, Mismatch},
        Rejected{&Chinese, u",123"_s, Mismatch}, Rejected{&Chinese, u"123,"_s, Mismatch},
        Rejected{&Chinese, u"1,,234"_s, Mismatch}, Rejected{&Chinese, u"1.234,5"_s, Mismatch},
        Rejected{&Chinese, u"\u0663\u0660"_s, Mismatch}, // Arabic-Indic digits
        Rejected{&Chinese, u"3\u200b000"_s, Mismatch},   // zero-width space
        // Blanks beyond space, tab and U+3000, which QLocale would trim.
        Rejected{&Chinese, u"3000\n"_s, Mismatch}, Rejected{&Chinese, u"\r3000"_s, Mismatch},
        Rejected{&Chinese, u"3000\u00a0"_s, Mismatch}, Rejected{&Chinese, u"+inf"_s, Mismatch},
        Rejected{&German, u"1.5"_s, Mismatch}, Rejected{&German, u"1,234.5"_s, Mismatch},
        Rejected{&Chinese, u"1e400"_s, ErrorKind::Overflow},
        Rejected{&Chinese, u"-1e400"_s, ErrorKind::Overflow},
        Rejected{&Chinese, u"1e99999999999999999999"_s, ErrorKind::Overflow},
        Rejected{&Chinese, QString(400, u'9'), ErrorKind::Overflow}));

struct Rounding {
    double value;
    qint32 expected;
};

class DoubleToInt32Rounds : public testing::TestWithParam<Rounding>
{};

TEST_P(DoubleToInt32Rounds, ToNearestTiesToEven)
{
    EXPECT_EQ(doubleToInt32(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ties, DoubleToInt32Rounds,
                         testing::Values(Rounding{0.5, 0}, Rounding{1.5, 2}, Rounding{2.5, 2},
                                         Rounding{160.5, 160}, Rounding{-46.5, -46},
                                         Rounding{-0.5, 0}, Rounding{-1.5, -2},
                                         Rounding{511.49999999999994, 511},
                                         Rounding{0.49999999999999994, 0}, Rounding{32767.5, 32768},
                                         Rounding{2147483647.4, 2147483647},
                                         Rounding{-2147483648.5, -2147483648}, Rounding{-0.0, 0}));

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
