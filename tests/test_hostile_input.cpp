#include "form1.h"
#include "gui_helpers.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lumasio::tests::findControl;
using lumasio::tests::MessageBoxCatcher;
using lumasio::window::Form1;

namespace {

enum class Outcome {
    Nothing, // an empty input: the command does nothing
    Result,
    Warning,       // one warning box
    BlankWarning,  // one warning box that asks for a number
    QuotedWarning, // one warning box that quotes the input
};

struct HostileCase {
    QString input;
    Outcome outcome;
    QString up = {};
    QString down = {};
    QString quoted = {}; // what the box quotes, where not the whole input
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    QString shown = c.input.left(16);
    for (QChar &ch : shown) {
        if (!ch.isPrint() || ch.isSurrogate()) {
            ch = u'?';
        }
    }
    *os << '"' << shown.toStdString() << "\" (" << c.input.size() << " units)";
}

const HostileCase Cases[] = {
    {QString(), Outcome::Nothing},
    {u" "_s, Outcome::BlankWarning},
    {u"\t\t"_s, Outcome::BlankWarning},
    {u"\u3000\u3000"_s, Outcome::BlankWarning},
    {u"  3000  "_s, Outcome::Result, u"3210"_s, u"2790"_s},
    {u"\u3000"
     "3000\u3000"_s,
     Outcome::Result, u"3210"_s, u"2790"_s},
    {QString(32767, u'9'), Outcome::QuotedWarning, {}, {}, QString(40, u'9') + u'…'},
    {QString(32767, u'0'), Outcome::Result, u"0"_s, u"0"_s},
    {u"3000\n"_s, Outcome::QuotedWarning},
    {u"\x01\x02\x1b[31m"_s, Outcome::QuotedWarning},
    {QStringView(u"30\0"
                 "00",
                 5)
         .toString(),
     Outcome::QuotedWarning},
    {u"\u202e"
     "0003"_s,
     Outcome::QuotedWarning}, // right-to-left override
    {u"\u200f"
     "3000"_s,
     Outcome::QuotedWarning},                  // right-to-left mark
    {u"3000\u200b"_s, Outcome::QuotedWarning}, // zero-width space
    {u"\ufeff"
     "3000"_s,
     Outcome::QuotedWarning},                         // byte-order mark
    {QString(QChar(0xD800)), Outcome::QuotedWarning}, // lone high surrogate
    {u"3000"_s + QChar(0xDC00), Outcome::QuotedWarning},
    {u"😀"_s, Outcome::QuotedWarning},
    {u"3000😀"_s, Outcome::QuotedWarning},
    {u"<b>x</b>"_s, Outcome::QuotedWarning},
    {u"<img src=x>"_s, Outcome::QuotedWarning},
    {u"&amp;&lt;"_s, Outcome::QuotedWarning},
    {u"%s%n"_s, Outcome::QuotedWarning},
    {u"%1%2"_s, Outcome::QuotedWarning},
    {u"'; DROP TABLE t; --"_s, Outcome::QuotedWarning},
    {u"\\"_s, Outcome::QuotedWarning},
    {u"1e400"_s, Outcome::QuotedWarning},
    {u"-1e400"_s, Outcome::QuotedWarning},
    {u"nan"_s, Outcome::QuotedWarning},
    {u"-inf"_s, Outcome::QuotedWarning},
    {u"Infinity"_s, Outcome::QuotedWarning},
    {u"0x1p3"_s, Outcome::QuotedWarning},
    {u"0x10"_s, Outcome::QuotedWarning},
    {u"--5"_s, Outcome::QuotedWarning},
    {u"+-5"_s, Outcome::QuotedWarning},
    {u"5-"_s, Outcome::QuotedWarning},
    {u"1,2,3"_s, Outcome::QuotedWarning},
    {u"\u0661\u0662\u0663"_s, Outcome::QuotedWarning}, // Arabic-Indic digits
    {u"\u06f1\u06f2\u06f3"_s, Outcome::QuotedWarning}, // extended Arabic-Indic
    {u"\u0967\u0968\u0969"_s, Outcome::QuotedWarning}, // Devanagari digits
    {u"３０００元"_s, Outcome::QuotedWarning},
    {u"30624"_s, Outcome::Result, u"32768"_s, u"28480"_s},
    {u"2006994065"_s, Outcome::Warning}, // limit-up beyond 2147483647
    {u"1.7e308"_s, Outcome::Warning},    // product beyond the double range
    {u"1e300"_s, Outcome::Warning},
    {u"３０００"_s, Outcome::Result, u"3210"_s, u"2790"_s},
    {u"1e-400"_s, Outcome::Result, u"0"_s, u"0"_s},
    {u"-0"_s, Outcome::Result, u"0"_s, u"0"_s},
    {u"1,234"_s, Outcome::Result, u"1320"_s, u"1148"_s},
    {u"3000.5"_s, Outcome::Result, u"3211"_s, u"2790"_s},
};

class HostileInput : public testing::TestWithParam<HostileCase>
{
protected:
    static void SetUpTestSuite() { s_form = new Form1; }
    static void TearDownTestSuite()
    {
        delete s_form;
        s_form = nullptr;
    }

    static Form1 *s_form;
};

Form1 *HostileInput::s_form = nullptr;

TEST_P(HostileInput, EndsInAResultOrOneWarning)
{
    const HostileCase &c = GetParam();
    QWidget *window = s_form;
    window->show();
    auto *input = findControl<QLineEdit>(window, u"Text1"_s);
    auto *up = findControl<QLineEdit>(window, u"Text2"_s);
    auto *down = findControl<QLineEdit>(window, u"Text3"_s);
    up->setText(u"previous up"_s);
    down->setText(u"previous down"_s);
    input->setText(c.input);
    ASSERT_EQ(input->text(), c.input);

    auto *calculate = findControl<QPushButton>(window, u"Command1"_s);
    MessageBoxCatcher catcher;
    QTest::mouseClick(calculate, Qt::LeftButton);

    switch (c.outcome) {
    case Outcome::Nothing:
        EXPECT_TRUE(catcher.boxes.isEmpty());
        EXPECT_EQ(up->text(), u"previous up"_s);
        EXPECT_EQ(down->text(), u"previous down"_s);
        break;
    case Outcome::Result:
        EXPECT_TRUE(catcher.boxes.isEmpty());
        EXPECT_EQ(up->text(), c.up);
        EXPECT_EQ(down->text(), c.down);
        break;
    case Outcome::Warning:
    case Outcome::BlankWarning:
    case Outcome::QuotedWarning:
        ASSERT_EQ(catcher.boxes.size(), 1);
        EXPECT_EQ(catcher.boxes.front().format, Qt::PlainText);
        EXPECT_EQ(up->text(), u"previous up"_s);
        EXPECT_EQ(down->text(), u"previous down"_s);
        if (c.outcome == Outcome::BlankWarning) {
            EXPECT_EQ(catcher.boxes.front().text, u"类型不匹配：请输入一个数字。"_s);
        }
        if (c.outcome == Outcome::QuotedWarning) {
            const QString quoted = c.quoted.isEmpty() ? c.input : c.quoted;
            EXPECT_TRUE(catcher.boxes.front().text.contains(u"“"_s + quoted + u"”"_s));
        }
        break;
    }

    // The program goes on: the window still calculates.
    const qsizetype boxes = catcher.boxes.size();
    input->setText(u"3000"_s);
    QTest::mouseClick(calculate, Qt::LeftButton);
    EXPECT_EQ(catcher.boxes.size(), boxes);
    EXPECT_EQ(up->text(), u"3210"_s);
    EXPECT_EQ(down->text(), u"2790"_s);
}

INSTANTIATE_TEST_SUITE_P(Text1, HostileInput, testing::ValuesIn(Cases));

} // namespace
