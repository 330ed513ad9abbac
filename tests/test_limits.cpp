#include "calculate.h"
#include "handler_error.h"
#include "limit_text.h"
#include "limit_tier.h"
#include "memory_form.h"
#include "table_test.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

using namespace Qt::StringLiterals;
using lumasio::limits::calculate;
using lumasio::limits::limitText;
using lumasio::limits::LimitTierTable;
using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;
using lumasio::tests::MemoryForm;
using lumasio::tests::Row;
using lumasio::tests::TableTest;

namespace {

const QLocale Chinese(QLocale::Chinese, QLocale::China);

// A hex-float literal missing one digit still compiles, so each multiplier is
// checked against its IEEE-754 bits.
TEST(LimitTierTable, MultipliersHaveTheirExactBits)
{
    struct Row {
        const char16_t *option;
        std::uint64_t up;
        std::uint64_t down;
    };
    static constexpr Row Expected[] = {
        {u"Option1", 0x3FF11EB851EB851F, 0x3FEDC28F5C28F5C2},
        {u"Option2", 0x3FF147AE147AE148, 0x3FED70A3D70A3D71},
        {u"Option3", 0x3FF170A3D70A3D71, 0x3FED1EB851EB851F},
        {u"Option4", 0x3FF199999999999A, 0x3FECCCCCCCCCCCCD},
    };
    ASSERT_EQ(std::size(Expected), LimitTierTable.size());
    for (std::size_t i = 0; i < LimitTierTable.size(); ++i) {
        const auto &tier = LimitTierTable[i];
        EXPECT_EQ(tier.optionControl, QStringView(Expected[i].option));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(tier.upMultiplier), Expected[i].up) << i;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(tier.downMultiplier), Expected[i].down) << i;
        // They are 1 ± p in double arithmetic.
        EXPECT_EQ(tier.upMultiplier, 1.0 + tier.percent) << i;
        EXPECT_EQ(tier.downMultiplier, 1.0 - tier.percent) << i;
    }
}

// A reference price and the index of its tier in LimitTierTable.
struct Price {
    QString reference;
    int tier;
};

std::string describe(const Price &price)
{
    return '"' + price.reference.toStdString() + "\" tier " + std::to_string(price.tier);
}

struct Limits {
    QString up;
    QString down;
};

using LimitTextGives = TableTest<Price, Limits>;

TEST_P(LimitTextGives, UpAndDown)
{
    const auto &[price, limits] = GetParam();
    const auto &tier = LimitTierTable.at(static_cast<std::size_t>(price.tier));
    EXPECT_EQ(limitText(price.reference, tier.upMultiplier, Chinese), limits.up);
    EXPECT_EQ(limitText(price.reference, tier.downMultiplier, Chinese), limits.down);
}

const Row<Price, Limits> LimitTexts[] = {
    {{u"3000"_s, 0}, {u"3210"_s, u"2790"_s}},
    {{u"150"_s, 0}, {u"160"_s, u"140"_s}}, // 160.5 and 139.5 round to even
    {{u"50"_s, 0}, {u"54"_s, u"46"_s}},
    // 550 × 0.92999999999999993783 = 511.49999999999994; the
    // double nearest 0.93 would give 511.5 and "512".
    {{u"550"_s, 0}, {u"588"_s, u"511"_s}},
    {{u"3650"_s, 0}, {u"3906"_s, u"3394"_s}},
    {{u"3333"_s, 1}, {u"3600"_s, u"3066"_s}},
    {{u"12345"_s, 2}, {u"13456"_s, u"11234"_s}},
    {{u"5"_s, 3}, {u"6"_s, u"4"_s}},
    {{u"15"_s, 3}, {u"16"_s, u"14"_s}},
    {{u"3000"_s, 3}, {u"3300"_s, u"2700"_s}},
    {{u"1234.5"_s, 0}, {u"1321"_s, u"1148"_s}},
    {{u"-100"_s, 0}, {u"-107"_s, u"-93"_s}},
    {{u"-0"_s, 0}, {u"0"_s, u"0"_s}},
    {{u"0"_s, 3}, {u"0"_s, u"0"_s}},
    {{u"30623"_s, 0}, {u"32767"_s, u"28479"_s}},
    {{u"30340"_s, 1}, {u"32767"_s, u"27913"_s}},
    {{u"30061"_s, 2}, {u"32766"_s, u"27356"_s}},
    {{u"29788"_s, 3}, {u"32767"_s, u"26809"_s}},
    // Past 16 bits: copper, nickel and tin trade far above 32767.
    {{u"30624"_s, 0}, {u"32768"_s, u"28480"_s}},
    {{u"-30625"_s, 0}, {u"-32769"_s, u"-28481"_s}},
    {{u"133750"_s, 2}, {u"145788"_s, u"121712"_s}}, // .5 both ways: ties to even
    {{u"1952257861"_s, 3}, {u"2147483647"_s, u"1757032075"_s}},
    {{u"-2006994064"_s, 0}, {u"-2147483648"_s, u"-1866504480"_s}},
    {{u"３０００"_s, 0}, {u"3210"_s, u"2790"_s}},
};

INSTANTIATE_TEST_SUITE_P(Prices, LimitTextGives, testing::ValuesIn(LimitTexts));

using LimitUpRaises = TableTest<Price, ErrorKind>;

TEST_P(LimitUpRaises, TheError)
{
    const auto &[price, kind] = GetParam();
    const auto &tier = LimitTierTable.at(static_cast<std::size_t>(price.tier));
    try {
        const QString got = limitText(price.reference, tier.upMultiplier, Chinese);
        FAIL() << "gave " << got.toStdString();
    } catch (const Error &error) {
        EXPECT_EQ(error.kind(), kind) << error.what();
    }
}

const Row<Price, ErrorKind> LimitUpFailures[] = {
    // 2147483648.2 and -2147483649.55: just past 32 bits
    {{u"1952257862"_s, 3}, ErrorKind::Overflow},    {{u"-2006994065"_s, 0}, ErrorKind::Overflow},
    {{u"1e300"_s, 0}, ErrorKind::Overflow},         {{u"1.7e308"_s, 0}, ErrorKind::FloatingPoint},
    {{u"-1.7e308"_s, 3}, ErrorKind::FloatingPoint}, {{u"abc"_s, 0}, ErrorKind::TypeMismatch},
    {{u"   "_s, 0}, ErrorKind::TypeMismatch},
};

INSTANTIATE_TEST_SUITE_P(Prices, LimitUpRaises, testing::ValuesIn(LimitUpFailures));

// --- The Calculate command over the in-memory form -------------------------

class Calculate : public testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(Chinese); }

    MemoryForm form;
};

TEST_F(Calculate, WritesBothResultsForTheSelectedTier)
{
    struct Case {
        QString option;
        QString up;
        QString down;
    };
    const Case cases[] = {{u"Option1"_s, u"3210"_s, u"2790"_s},
                          {u"Option2"_s, u"3240"_s, u"2760"_s},
                          {u"Option3"_s, u"3270"_s, u"2730"_s},
                          {u"Option4"_s, u"3300"_s, u"2700"_s}};
    form.put(u"Text1"_s, u"3000"_s);
    for (const Case &c : cases) {
        form.select(c.option);
        form.writes.clear();
        calculate(form);
        EXPECT_EQ(form.text(u"Text2"), c.up) << c.option.toStdString();
        EXPECT_EQ(form.text(u"Text3"), c.down) << c.option.toStdString();
        // Limit-up first, limit-down last, each once.
        EXPECT_EQ(form.writes, (QStringList{u"Text2"_s, u"Text3"_s}));
    }
}

TEST_F(Calculate, EmptyInputChangesNothing)
{
    form.put(u"Text2"_s, u"old up"_s);
    form.put(u"Text3"_s, u"old down"_s);
    calculate(form);
    EXPECT_TRUE(form.writes.isEmpty());
    EXPECT_EQ(form.text(u"Text2"), u"old up"_s);
    EXPECT_EQ(form.text(u"Text3"), u"old down"_s);
}

TEST_F(Calculate, NoSelectedOptionChangesNothing)
{
    form.put(u"Text1"_s, u"3000"_s);
    form.select(QString());
    calculate(form);
    EXPECT_TRUE(form.writes.isEmpty());
}

TEST_F(Calculate, FailureLeavesBothResultsUntouched)
{
    struct Case {
        QString option;
        QString input;
        ErrorKind kind;
    };
    const Case cases[] = {
        {u"Option1"_s, u"abc"_s, ErrorKind::TypeMismatch},
        {u"Option1"_s, u"  "_s, ErrorKind::TypeMismatch}, // blanks are not empty
        {u"Option1"_s, u"-2006994065"_s, ErrorKind::Overflow},
        {u"Option2"_s, u"2000000000"_s, ErrorKind::Overflow},
        {u"Option3"_s, u"2000000000"_s, ErrorKind::Overflow},
        {u"Option4"_s, u"1952257862"_s, ErrorKind::Overflow},
        {u"Option1"_s, u"1e300"_s, ErrorKind::Overflow},
        {u"Option4"_s, u"1.7e308"_s, ErrorKind::FloatingPoint},
    };
    for (const Case &c : cases) {
        form.put(u"Text2"_s, u"old up"_s);
        form.put(u"Text3"_s, u"old down"_s);
        form.put(u"Text1"_s, c.input);
        form.select(c.option);
        form.writes.clear();
        try {
            calculate(form);
            ADD_FAILURE() << c.input.toStdString() << " raised nothing";
        } catch (const Error &error) {
            EXPECT_EQ(error.kind(), c.kind) << c.input.toStdString();
        }
        EXPECT_TRUE(form.writes.isEmpty()) << c.input.toStdString();
        EXPECT_EQ(form.text(u"Text2"), u"old up"_s);
        EXPECT_EQ(form.text(u"Text3"), u"old down"_s);
    }
}

TEST_F(Calculate, FailedControlCallEndsTheCommandBeforeAnyWrite)
{
    form.put(u"Text1"_s, u"3000"_s);
    form.failingControls.insert(u"Option1"_s);
    try {
        calculate(form);
        ADD_FAILURE() << "raised nothing";
    } catch (const Error &error) {
        EXPECT_EQ(error.kind(), ErrorKind::ControlCall);
    }
    EXPECT_TRUE(form.writes.isEmpty());
}

TEST_F(Calculate, FollowsTheLocaleOfTheUser)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    form.put(u"Text1"_s, u"1.234,5"_s);
    calculate(form);
    EXPECT_EQ(form.text(u"Text2"), u"1321"_s);
    EXPECT_EQ(form.text(u"Text3"), u"1148"_s);
    QLocale::setDefault(Chinese);
}

} // namespace
