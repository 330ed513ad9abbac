#include "contrast.h"
#include "form1.h"
#include "gui_helpers.h"
#include "whole_pixel_frames.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;
using lumasio::tests::findControl;
using lumasio::tests::MessageBoxCatcher;
using lumasio::tests::typeText;
using lumasio::tests::UrlRecorder;
using lumasio::window::Form1;

namespace {

// A fresh Form1 on the offscreen screen for every test.
class Form1Test : public testing::Test
{
protected:
    void SetUp() override
    {
        m_form = std::make_unique<Form1>();
        window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    }

    [[nodiscard]] QWidget *window() const { return m_form.get(); }

    template<typename T>
    [[nodiscard]] T *find(const QString &name) const
    {
        return findControl<T>(window(), name);
    }

    [[nodiscard]] QString text(const QString &name) const { return find<QLineEdit>(name)->text(); }

    void enterPrice(const QString &price)
    {
        QLineEdit *input = find<QLineEdit>(u"Text1"_s);
        input->clear();
        QTest::keyClicks(input, price);
    }

    void clickCalculate() { QTest::mouseClick(find<QPushButton>(u"Command1"_s), Qt::LeftButton); }

    // Picks a list item of Combo1 as a person does: a click on the arrow
    // opens the list, which stays open, and a click on the item picks it.
    // The clicks go to the windows, as the platform hands them on, so that
    // Qt's handling of an open list sees them.
    void pickFromPopup(int row)
    {
        auto *combo = find<QComboBox>(u"Combo1"_s);
        QAbstractItemView *view = combo->view();
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.subControls = QStyle::SC_All;
        const QRect arrow = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxArrow, combo);
        const auto click = [](QWidget *widget, QPoint at) {
            QTest::mouseClick(widget->window()->windowHandle(), Qt::LeftButton, {},
                              widget->mapTo(widget->window(), at));
        };
        click(combo, arrow.center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()))
            << "a click on the arrow opens it";
        // A release this soon after the list opened could be the one of the
        // press that opened it, which the box ignores; a person takes longer
        // to read the list.
        QTest::qWait(QApplication::doubleClickInterval());
        ASSERT_TRUE(view->window()->isVisible()) << "the list stays open";
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseMove(view->window()->windowHandle(),
                         view->viewport()->mapTo(view->window(), at));
        click(view->viewport(), at);
        ASSERT_TRUE(QTest::qWaitFor([view] { return !view->window()->isVisible(); }));
    }

    [[nodiscard]] QString referenceLabel() const
    {
        const auto *front = find<QLabel>(u"Label6"_s);
        return front->isVisible() ? front->text() : find<QLabel>(u"Label1"_s)->text();
    }

private:
    std::unique_ptr<Form1> m_form;
};

TEST_F(Form1Test, StartsInItsInitialState)
{
    EXPECT_EQ(window()->objectName(), u"Form1"_s);
    EXPECT_EQ(window()->windowTitle(), u"Lumasio"_s);
    EXPECT_EQ(QCoreApplication::applicationVersion(), QLatin1StringView(LUMASIO_PROJECT_VERSION));
    // Every size the desktop draws the icon at has its own image, not the 32
    // or 48 one scaled.
    const QIcon icon = window()->windowIcon();
    for (const int size : {LUMASIO_ICON_SIZES}) {
        const QImage own = QImage(u":/icons/lumasio-%1.png"_s.arg(size))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(own.size(), QSize(size, size));
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0)
                      .toImage()
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  own)
            << size;
    }
    EXPECT_TRUE(find<QRadioButton>(u"Option1"_s)->isChecked());
    for (const QString &option : {u"Option2"_s, u"Option3"_s, u"Option4"_s}) {
        EXPECT_FALSE(find<QRadioButton>(option)->isChecked()) << option.toStdString();
    }
    for (const QString &box : {u"Text1"_s, u"Text2"_s, u"Text3"_s}) {
        EXPECT_TRUE(text(box).isEmpty()) << box.toStdString();
    }
    auto *combo = find<QComboBox>(u"Combo1"_s);
    EXPECT_TRUE(combo->currentText().isEmpty());
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), u"开盘中"_s);
    EXPECT_EQ(combo->itemText(1), u"未开盘"_s);
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);
    EXPECT_FALSE(find<QPushButton>(u"Command4"_s)->isVisible());
    EXPECT_EQ(window()->focusWidget(), find<QLineEdit>(u"Text1"_s));
}

TEST_F(Form1Test, CaptionsAreExactlyTheWindowsTexts)
{
    const std::pair<QString, QString> captions[] = {
        {u"Command1"_s, u"计算"_s},     {u"Option1"_s, u"7%"_s},        {u"Option2"_s, u"8%"_s},
        {u"Option3"_s, u"9%"_s},        {u"Option4"_s, u"10%"_s},       {u"Label1"_s, u"昨结价:"_s},
        {u"Label2"_s, u"涨停\uFF1A"_s}, {u"Label3"_s, u"跌停\uFF1A"_s}, {u"Label5"_s, u"状态"_s},
        {u"Label6"_s, u"结算价:"_s},
    };
    for (const auto &[name, caption] : captions) {
        const QObject *control = window()->findChild<QObject *>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->property("text").toString(), caption) << name.toStdString();
    }
    EXPECT_TRUE(find<QLabel>(u"Label4"_s)->text().startsWith(u"更多软件\uFF1A"_s));
}

TEST_F(Form1Test, IsFixedSizeWithoutMaximizeButton)
{
    const double dpi = window()->screen()->logicalDotsPerInch();
    const QSize client(qRound(4050 * dpi / 1440), qRound(3555 * dpi / 1440));
    EXPECT_EQ(window()->size(), client);
    EXPECT_EQ(window()->minimumSize(), client);
    EXPECT_EQ(window()->maximumSize(), client);
    EXPECT_FALSE(window()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    if (dpi == 96.0) {
        EXPECT_EQ(client, QSize(270, 237));
    }
}

TEST_F(Form1Test, EveryControlSitsAtItsPlace)
{
    struct Place {
        QString name;
        QString container;
        QRect twips;
    };
    const Place places[] = {
        {u"Command4"_s, u"Form1"_s, {3465, 1470, 540, 435}},
        {u"Command1"_s, u"Form1"_s, {525, 1470, 2850, 540}},
        {u"Frame1"_s, u"Form1"_s, {105, 0, 3900, 1380}},
        {u"Combo1"_s, u"Frame1"_s, {735, 210, 1170, 405}},
        {u"Text1"_s, u"Frame1"_s, {3150, 210, 645, 465}},
        {u"Label6"_s, u"Frame1"_s, {2100, 315, 1065, 285}},
        {u"Label5"_s, u"Frame1"_s, {105, 315, 600, 285}},
        {u"Label1"_s, u"Frame1"_s, {2100, 315, 1065, 285}},
        {u"Frame2"_s, u"Form1"_s, {105, 1995, 3900, 855}},
        {u"Text3"_s, u"Frame2"_s, {2730, 315, 1065, 435}},
        {u"Text2"_s, u"Frame2"_s, {840, 315, 1065, 435}},
        {u"Label3"_s, u"Frame2"_s, {1995, 420, 750, 285}},
        {u"Label2"_s, u"Frame2"_s, {105, 420, 750, 285}},
        {u"Frame3"_s, u"Form1"_s, {105, 2835, 3900, 645}},
        {u"Label4"_s, u"Frame3"_s, {210, 210, 3375, 285}},
    };
    const double scale = window()->screen()->logicalDotsPerInch() / 1440.0;
    const auto px = [scale](int twips) { return qRound(twips * scale); };
    for (const Place &place : places) {
        const QWidget *control = find<QWidget>(place.name);
        EXPECT_EQ(control->parentWidget()->objectName(), place.container)
            << place.name.toStdString();
        const QRect expected(px(place.twips.x()), px(place.twips.y()), px(place.twips.width()),
                             px(place.twips.height()));
        EXPECT_EQ(control->geometry(), expected) << place.name.toStdString();
    }

    // The option buttons may grow to fit their caption, but keep their left
    // edge and their vertical centre, and never run into each other.
    const Place options[] = {
        {u"Option1"_s, u"Frame1"_s, {210, 945, 645, 225}},
        {u"Option2"_s, u"Frame1"_s, {1050, 945, 645, 225}},
        {u"Option3"_s, u"Frame1"_s, {1995, 945, 645, 225}},
        {u"Option4"_s, u"Frame1"_s, {2940, 945, 855, 225}},
    };
    int previousRight = 0;
    for (const Place &place : options) {
        const QWidget *option = find<QWidget>(place.name);
        EXPECT_EQ(option->parentWidget()->objectName(), place.container);
        EXPECT_EQ(option->x(), px(place.twips.x())) << place.name.toStdString();
        EXPECT_GE(option->width(), px(place.twips.width())) << place.name.toStdString();
        EXPECT_NEAR(option->geometry().center().y(),
                    px(place.twips.y()) + px(place.twips.height()) / 2.0, 1)
            << place.name.toStdString();
        EXPECT_LT(previousRight, option->x()) << place.name.toStdString();
        EXPECT_LE(option->geometry().right(), option->parentWidget()->width());
        previousRight = option->geometry().right();
    }

    const QWidget *line = find<QWidget>(u"Line1"_s);
    EXPECT_EQ(line->parentWidget()->objectName(), u"Frame3"_s);
    EXPECT_EQ(line->x(), px(105));
    EXPECT_EQ(line->y(), px(525));
    EXPECT_EQ(line->width(), px(3780) - px(105) + 1);
}

TEST_F(Form1Test, FontsAreSongStyleInTheirSizesAndWeights)
{
    struct Expected {
        QString name;
        double points;
        int weight;
    };
    const Expected fonts[] = {
        {u"Text1"_s, 15, 700},      {u"Text2"_s, 15, 700},      {u"Text3"_s, 15, 700},
        {u"Label1"_s, 14.25, 700},  {u"Label5"_s, 14.25, 700},  {u"Label6"_s, 14.25, 700},
        {u"Combo1"_s, 14.25, 400},  {u"Option1"_s, 14.25, 400}, {u"Option2"_s, 14.25, 400},
        {u"Option3"_s, 14.25, 400}, {u"Option4"_s, 14.25, 400}, {u"Label2"_s, 14.25, 400},
        {u"Label3"_s, 14.25, 400},  {u"Label4"_s, 14.25, 400},
    };
    const QStringList songFaces = {
        u"宋体"_s,          u"SimSun"_s, u"NSimSun"_s, u"Songti SC"_s, u"Noto Serif CJK SC"_s,
        u"AR PL UMing CN"_s};
    for (const Expected &e : fonts) {
        const QWidget *control = find<QWidget>(e.name);
        const QFont font = control->font();
        // 宋体, or where it is missing the Song face that stands in for it.
        EXPECT_TRUE(songFaces.contains(font.family()))
            << e.name.toStdString() << " named " << font.family().toStdString();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), e.points) << e.name.toStdString();
        EXPECT_EQ(font.weight(), e.weight) << e.name.toStdString();
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        // What is drawn is a Song-style face, not a Japanese fallback.
        const QFontInfo drawn(font);
        EXPECT_TRUE(songFaces.contains(drawn.family()))
            << e.name.toStdString() << " drawn in " << drawn.family().toStdString();
        EXPECT_EQ(drawn.bold(), e.weight >= 700) << e.name.toStdString();
    }
    // The market-state box's edit field draws in the box's font; made not
    // editable, the box has none to hand a new font to.
    auto *combo = find<QComboBox>(u"Combo1"_s);
    EXPECT_EQ(combo->lineEdit()->font(), combo->font());
    combo->setEditable(false);
    combo->setFont(QFont(u"宋体"_s, 12));
    EXPECT_EQ(combo->font().pointSize(), 12);
}

TEST_F(Form1Test, ColoursMarkUpRedAndDownGreen)
{
    const QColor red(255, 0, 0);
    const QColor green(0, 128, 0);
    EXPECT_EQ(find<QLineEdit>(u"Text2"_s)->palette().color(QPalette::Text), red);
    EXPECT_EQ(find<QLineEdit>(u"Text3"_s)->palette().color(QPalette::Text), green);
    EXPECT_EQ(find<QLabel>(u"Label2"_s)->palette().color(QPalette::WindowText), red);
    EXPECT_EQ(find<QLabel>(u"Label3"_s)->palette().color(QPalette::WindowText), green);
    auto *calculate = find<QPushButton>(u"Command1"_s);
    EXPECT_EQ(calculate->palette().color(QPalette::Button), QColor(255, 128, 0));
    // And it shows: most of the button is orange, whatever style draws it.
    const QImage face = calculate->grab().toImage();
    qsizetype orange = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            const QColor c = face.pixelColor(x, y);
            orange += std::abs(c.hslHue() - 30) <= 4 && c.hslSaturation() > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(orange, qsizetype(face.width()) * face.height() / 2)
        << orange << " of " << face.width() << "x" << face.height();
    // Label4 reads like the other labels.
    EXPECT_EQ(find<QLabel>(u"Label4"_s)->palette().color(QPalette::WindowText),
              find<QLabel>(u"Label5"_s)->palette().color(QPalette::WindowText));
}

TEST_F(Form1Test, Label6HidesLabel1Behind)
{
    auto *front = find<QLabel>(u"Label6"_s);
    auto *back = find<QLabel>(u"Label1"_s);
    EXPECT_TRUE(front->autoFillBackground());
    const QObjectList siblings = front->parentWidget()->children();
    // Later children are drawn on top.
    EXPECT_GT(siblings.indexOf(front), siblings.indexOf(back));
}

TEST_F(Form1Test, TabOrderFollowsTheTabIndex)
{
    const QStringList order = {u"Text1"_s, u"Option1"_s, u"Option2"_s, u"Command1"_s, u"Text2"_s,
                               u"Text3"_s, u"Option3"_s, u"Option4"_s, u"Combo1"_s};
    QWidget *widget = find<QWidget>(order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget *next = widget->nextInFocusChain();
        // Skip the private children (a combo's line edit) and unfocusable ones.
        while (next->objectName().isEmpty() || next->focusPolicy() == Qt::NoFocus) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next->objectName(), order[i]) << "after " << widget->objectName().toStdString();
        widget = next;
    }
}

TEST_F(Form1Test, CalculatesForTheSelectedTier)
{
    enterPrice(u"3000"_s);
    clickCalculate();
    EXPECT_EQ(text(u"Text2"_s), u"3210"_s);
    EXPECT_EQ(text(u"Text3"_s), u"2790"_s);

    QTest::mouseClick(find<QRadioButton>(u"Option4"_s), Qt::LeftButton);
    EXPECT_FALSE(find<QRadioButton>(u"Option1"_s)->isChecked());
    // Changing the tier alone doesn't touch the results.
    EXPECT_EQ(text(u"Text2"_s), u"3210"_s);
    clickCalculate();
    EXPECT_EQ(text(u"Text2"_s), u"3300"_s);
    EXPECT_EQ(text(u"Text3"_s), u"2700"_s);
}

TEST_F(Form1Test, TypedFullWidthDigitsCalculate)
{
    typeText(find<QLineEdit>(u"Text1"_s), u"３０００"_s);
    QTest::keyClick(find<QPushButton>(u"Command1"_s), Qt::Key_Space);
    EXPECT_EQ(text(u"Text2"_s), u"3210"_s);
    EXPECT_EQ(text(u"Text3"_s), u"2790"_s);
}

TEST_F(Form1Test, BadInputShowsOneWarningAndKeepsTheResults)
{
    enterPrice(u"3000"_s);
    clickCalculate();

    struct Case {
        QString input;
        QString shown; // a part of the message the box must show literally
    };
    const Case cases[] = {
        {u"abc"_s, u"abc"_s},
        {u"2006994065"_s, u"2147483647"_s},
        {u"<b>x</b>"_s, u"<b>x</b>"_s},
        {u"<img src=x>"_s, u"<img src=x>"_s},
    };
    for (const Case &c : cases) {
        enterPrice(c.input);
        MessageBoxCatcher catcher;
        clickCalculate();
        ASSERT_EQ(catcher.boxes.size(), 1) << c.input.toStdString();
        const auto &box = catcher.boxes.front();
        EXPECT_EQ(box.title, u"Lumasio"_s);
        EXPECT_EQ(box.format, Qt::PlainText);
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_TRUE(box.text.contains(c.shown)) << box.text.toStdString();
        EXPECT_EQ(text(u"Text2"_s), u"3210"_s) << c.input.toStdString();
        EXPECT_EQ(text(u"Text3"_s), u"2790"_s) << c.input.toStdString();
    }

    // Still running: the next good input calculates.
    enterPrice(u"150"_s);
    clickCalculate();
    EXPECT_EQ(text(u"Text2"_s), u"160"_s);
    EXPECT_EQ(text(u"Text3"_s), u"140"_s);
}

TEST_F(Form1Test, WarningSpeaksChinese)
{
    enterPrice(u"abc"_s);
    MessageBoxCatcher catcher;
    clickCalculate();
    ASSERT_EQ(catcher.boxes.size(), 1);
    // Qt's own Simplified-Chinese texts are loaded: "OK" reads "确定".
    EXPECT_EQ(catcher.boxes.front().buttonText.remove(u'&'), u"确定"_s);
}

TEST_F(Form1Test, EmptyInputChangesNothingAndWarnsNot)
{
    MessageBoxCatcher catcher;
    clickCalculate();
    EXPECT_TRUE(catcher.boxes.isEmpty());
    EXPECT_TRUE(text(u"Text2"_s).isEmpty());
    EXPECT_TRUE(text(u"Text3"_s).isEmpty());
}

TEST_F(Form1Test, PickingAMarketStateSwitchesTheLabel)
{
    enterPrice(u"3000"_s);
    clickCalculate();

    pickFromPopup(0); // 开盘中
    EXPECT_EQ(referenceLabel(), u"昨结价:"_s);
    pickFromPopup(0); // the same again changes nothing
    EXPECT_EQ(referenceLabel(), u"昨结价:"_s);
    pickFromPopup(1); // 未开盘
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);

    // The arrow keys on the closed box pick too.
    auto *combo = find<QComboBox>(u"Combo1"_s);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->currentText(), u"开盘中"_s);
    EXPECT_EQ(referenceLabel(), u"昨结价:"_s);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);

    // The results are not the switch's business.
    EXPECT_EQ(text(u"Text2"_s), u"3210"_s);
    EXPECT_EQ(text(u"Text3"_s), u"2790"_s);
}

TEST_F(Form1Test, TypedMarketStateDoesNotSwitchTheLabel)
{
    auto *combo = find<QComboBox>(u"Combo1"_s);
    combo->setFocus();
    typeText(combo, u"开盘中"_s);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), u"开盘中"_s);
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);

    // Nor does leaving the box.
    find<QLineEdit>(u"Text1"_s)->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);
}

TEST_F(Form1Test, ClosingThePopupWithoutAPickChangesNothing)
{
    auto *combo = find<QComboBox>(u"Combo1"_s);
    combo->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo->view()->window()));
    QTest::keyClick(combo->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    typeText(combo, u"开盘中"_s);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);
}

TEST_F(Form1Test, Label4OpensThePublishersSiteOnce)
{
    enterPrice(u"3000"_s);
    clickCalculate();
    UrlRecorder browser;
    auto *link = find<QLabel>(u"Label4"_s);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    // The host is the one the build was configured with.
    const QString host = QLatin1StringView(LUMASIO_PUBLISHER_HOST);
    EXPECT_EQ(link->toolTip(), u"http://"_s + host + u"/"_s);

    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.front(), QUrl(u"http://"_s + host + u"/"_s));
    EXPECT_EQ(link->text(), u"更多软件\uFF1A"_s + host);

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(browser.opened.size(), 2);

    EXPECT_EQ(text(u"Text1"_s), u"3000"_s);
    EXPECT_EQ(text(u"Text2"_s), u"3210"_s);
    EXPECT_EQ(text(u"Text3"_s), u"2790"_s);
    EXPECT_EQ(referenceLabel(), u"结算价:"_s);
    EXPECT_TRUE(find<QRadioButton>(u"Option1"_s)->isChecked());
}

TEST_F(Form1Test, ScreenReadersHearANameForEveryControl)
{
    const auto accessible = [](QWidget *widget, QAccessible::Text text) {
        QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(widget);
        return interface != nullptr ? interface->text(text) : QString();
    };
    const QStringList controls = {
        u"Command4"_s, u"Command1"_s, u"Frame1"_s,  u"Combo1"_s, u"Option4"_s,
        u"Option3"_s,  u"Option2"_s,  u"Option1"_s, u"Text1"_s,  u"Label6"_s,
        u"Label5"_s,   u"Label1"_s,   u"Frame2"_s,  u"Text3"_s,  u"Text2"_s,
        u"Label3"_s,   u"Label2"_s,   u"Frame3"_s,  u"Line1"_s,  u"Label4"_s,
    };
    for (const QString &name : controls) {
        EXPECT_FALSE(accessible(find<QWidget>(name), QAccessible::Name).isEmpty())
            << name.toStdString();
    }

    // A result box is read with its label and its value.
    enterPrice(u"3000"_s);
    clickCalculate();
    struct Box {
        QString name;
        QString label;
        QString value;
    };
    const Box boxes[] = {{u"Text2"_s, u"涨停\uFF1A"_s, u"3210"_s},
                         {u"Text3"_s, u"跌停\uFF1A"_s, u"2790"_s},
                         {u"Text1"_s, u"结算价:"_s, u"3000"_s}};
    for (const Box &box : boxes) {
        QWidget *widget = find<QWidget>(box.name);
        EXPECT_EQ(accessible(widget, QAccessible::Name), box.label) << box.name.toStdString();
        EXPECT_EQ(accessible(widget, QAccessible::Value), box.value) << box.name.toStdString();
    }
    EXPECT_EQ(accessible(find<QWidget>(u"Combo1"_s), QAccessible::Name), u"状态"_s);

    // The price box is named by the label the user sees.
    pickFromPopup(0);
    EXPECT_EQ(accessible(find<QWidget>(u"Text1"_s), QAccessible::Name), u"昨结价:"_s);
    pickFromPopup(1);
    EXPECT_EQ(accessible(find<QWidget>(u"Text1"_s), QAccessible::Name), u"结算价:"_s);
}

TEST_F(Form1Test, Label4CaptionIsNotClipped)
{
    const auto *link = find<QLabel>(u"Label4"_s);
    EXPECT_LE(link->fontMetrics().horizontalAdvance(link->text()), link->width());
}

} // namespace

TEST_F(Form1Test, EnterCalculatesOnTheButtonAndInThePriceBox)
{
    const std::pair<QString, Qt::Key> cases[] = {
        {u"Command1"_s, Qt::Key_Return},
        {u"Command1"_s, Qt::Key_Enter},
        {u"Text1"_s, Qt::Key_Return},
        {u"Text1"_s, Qt::Key_Enter},
    };
    for (const auto &[control, key] : cases) {
        enterPrice(u"3000"_s);
        find<QLineEdit>(u"Text2"_s)->clear();
        QWidget *target = find<QWidget>(control);
        target->setFocus();
        QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(text(u"Text2"_s), u"3210"_s) << control.toStdString() << " key " << key;
    }
    // Enter in a result box is no calculation.
    find<QLineEdit>(u"Text2"_s)->clear();
    QTest::keyClick(find<QLineEdit>(u"Text3"_s), Qt::Key_Return);
    EXPECT_TRUE(text(u"Text2"_s).isEmpty());
}

// Whole means the first and the last character on screen at once, whichever
// end the cursor is at. Run at several scale factors (see CMakeLists.txt).
TEST_F(Form1Test, NumbersShowWhole)
{
    // Whole: the cursor positions just inside the frame are the text's two
    // ends, and nothing scrolls when the cursor goes from one end to the
    // other.
    const auto showsWhole = [](QLineEdit *edit) {
        const QRect inside = edit->rect().adjusted(1, 1, -1, -1);
        const auto positions = [&] {
            QList<int> at;
            for (int x = inside.left(); x <= inside.right(); ++x) {
                at.append(edit->cursorPositionAt({x, inside.center().y()}));
            }
            return at;
        };
        // The scroll offset is worked out as the box paints.
        edit->end(false);
        edit->repaint();
        const QList<int> atEnd = positions();
        edit->home(false);
        edit->repaint();
        return atEnd.front() == 0 && atEnd.back() == edit->text().size() && positions() == atEnd;
    };
    const std::pair<QString, QString> cases[] = {
        {u"Text1"_s, u"3000"_s},    {u"Text1"_s, u"75000"_s},   {u"Text1"_s, u"133750"_s},
        {u"Text1"_s, u"-30625"_s},  {u"Text2"_s, u"-145788"_s}, {u"Text2"_s, u"-32768"_s},
        {u"Text3"_s, u"8888888"_s}, {u"Text3"_s, u"-121712"_s},
    };
    for (const auto &[box, number] : cases) {
        auto *edit = find<QLineEdit>(box);
        edit->setText(number);
        EXPECT_TRUE(showsWhole(edit)) << box.toStdString() << " " << number.toStdString();
        EXPECT_GE(edit->font().pointSizeF(), 8.0);
    }
    // Never below 8 pt: text too long even then scrolls.
    auto *price = find<QLineEdit>(u"Text1"_s);
    price->setText(u"1234567890"_s);
    EXPECT_EQ(price->font().pointSizeF(), 8.0);
    EXPECT_FALSE(showsWhole(price));
    // Back to the full size as soon as the text fits it.
    auto *up = find<QLineEdit>(u"Text2"_s);
    up->setText(u"-145788"_s);
    EXPECT_LT(up->font().pointSizeF(), 15.0);
    up->setText(u"3210"_s);
    EXPECT_EQ(up->font().pointSizeF(), 15.0);
    EXPECT_TRUE(up->font().bold());
    // A font set from outside, as Designer's code sets one, is the new full
    // font.
    QFont twelve = up->font();
    twelve.setPointSizeF(12.0);
    up->setFont(twelve);
    up->setText(u"2790"_s);
    EXPECT_EQ(up->font().pointSizeF(), 12.0);
    // A font the frame passes down while the text is shrunk leaves it so.
    up->setText(u"-2147483648"_s);
    QFont spaced = up->parentWidget()->font();
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    up->parentWidget()->setFont(spaced);
    up->setText(u"2790"_s);
    EXPECT_EQ(up->font().pointSizeF(), 12.0);

    pickFromPopup(0);
    auto *combo = find<QComboBox>(u"Combo1"_s);
    EXPECT_TRUE(showsWhole(combo->lineEdit())) << "开盘中";
}

// Every framed control shows its whole frame on the screen, at any scaling:
// along each side, within its outermost eight pixels, a line that differs
// from both its inside and the window around it. Read from the screen, as a
// grab paints the window afresh by another route.
TEST_F(Form1Test, FramedControlsShowAllFourEdges)
{
    // Qt's classic Windows style lights a sunken frame's lower and right
    // edges in the field's white and the window's grey: no line of their own.
    if (QApplication::style()->name() == u"windows"_s) {
        GTEST_SKIP() << "the classic Windows style draws no distinct lower and right edges";
    }
    enterPrice(u"133750"_s);
    clickCalculate();
    QTest::qWait(100);
    // Offscreen, a scaled window's grab from the screen is cut to its size
    // in pixels; there the window paints itself at device resolution.
    const QImage shot = QGuiApplication::platformName() == u"offscreen"_s
                            ? window()->grab().toImage()
                            : window()->screen()->grabWindow(window()->winId()).toImage();
    const qreal scale = window()->devicePixelRatio();
    ASSERT_EQ(shot.width(), qRound(window()->width() * scale));

    const auto differs = [](QRgb a, QRgb b) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                         std::abs(qBlue(a) - qBlue(b))})
               > 8;
    };
    // The commonest colour of the device pixels in area.
    const auto commonest = [&](const QRect &area) {
        std::map<QRgb, int> counts;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (shot.rect().contains(x, y)) {
                    ++counts[shot.pixel(x, y)];
                }
            }
        }
        return counts.empty() ? std::optional<QRgb>()
                              : std::max_element(counts.begin(), counts.end(),
                                                 [](const auto &a, const auto &b) {
                                                     return a.second < b.second;
                                                 })
                                    ->first;
    };

    for (const QString &name : {u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Combo1"_s, u"Frame1"_s,
                                u"Frame2"_s, u"Frame3"_s, u"Command1"_s}) {
        const auto *control = find<QWidget>(name);
        const QRect logical(control->mapTo(window(), QPoint()), control->size());
        const QRectF at(QPointF(logical.topLeft()) * scale, QSizeF(logical.size()) * scale);
        // The device pixels the control paints in: its corners rounded.
        const QRect whole(QPoint(qRound(at.left()), qRound(at.top())),
                          QPoint(qRound(at.right()) - 1, qRound(at.bottom()) - 1));
        const QRgb inside = *commonest(whole.marginsRemoved(QMargins(
            whole.width() / 4, whole.height() / 4, whole.width() / 4, whole.height() / 4)));
        struct Side {
            const char *name;
            bool across; // the line runs across the image (a row)
            int outer;   // the control's outermost row or column
            int inward;  // the step from there into the control
        };
        const Side sides[] = {{"top", true, whole.top(), 1},
                              {"bottom", true, whole.bottom(), -1},
                              {"left", false, whole.left(), 1},
                              {"right", false, whole.right(), -1}};
        for (const Side &side : sides) {
            // The window around: two lines past this side, clear of the
            // edge a neighbouring frame may draw right against it in the
            // same grey (Frame3's top under Frame2's bottom, in Qt 6.8's
            // Fusion).
            const int gap = qCeil(2 * scale);
            const int past = side.inward > 0 ? side.outer - 2 - gap : side.outer + 1 + gap;
            const std::optional<QRgb> around =
                commonest(side.across ? QRect(whole.left(), past, whole.width(), 2)
                                      : QRect(past, whole.top(), 2, whole.height()));
            // Points along the side that show this control (not one on
            // top of it), corners left out.
            const int from = (side.across ? whole.left() : whole.top()) + 4;
            const int to = (side.across ? whole.right() : whole.bottom()) - 4;
            bool found = false;
            // Fusion draws a group box's frame a few pixels below its top.
            for (int depth = 0; depth < qCeil(8 * scale) && !found; ++depth) {
                const int line = side.outer + depth * side.inward;
                int shown = 0;
                int marked = 0;
                for (int along = from; along <= to; ++along) {
                    const QPoint device = side.across ? QPoint(along, line) : QPoint(line, along);
                    const QPoint point(
                        std::clamp(qFloor(device.x() / scale), logical.left(), logical.right()),
                        std::clamp(qFloor(device.y() / scale), logical.top(), logical.bottom()));
                    const QWidget *top = window()->childAt(point);
                    if (top != control && !control->isAncestorOf(top)) {
                        continue;
                    }
                    ++shown;
                    const QRgb pixel = shot.pixel(device);
                    marked +=
                        differs(pixel, inside) && (!around || differs(pixel, *around)) ? 1 : 0;
                }
                // A side wholly under another control is that one's to show.
                if (depth == 0 && shown == 0) {
                    found = true;
                }
                found = found || (shown >= 8 && marked >= shown * 9 / 10);
            }
            EXPECT_TRUE(found) << name.toStdString() << " has no " << side.name << " edge at "
                               << scale << "x";
        }
    }
}

// Under a dark desktop palette the meaning colours stay red and green but
// read against their backgrounds; under the light one they are exactly the
// form's colours. Switching while running applies at once.
TEST(Form1Palette, MeaningColoursReadOnDarkDesktops)
{
    const QPalette light = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Base, QColor(0x3c, 0x3c, 0x3c));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Button, QColor(0x45, 0x45, 0x45));
    dark.setColor(QPalette::ButtonText, Qt::white);

    struct Reading {
        QString control;
        QPalette::ColorRole role;
        QPalette::ColorRole background;
        double minimum;
        QColor lightColour;
    };
    const Reading readings[] = {
        {u"Text2"_s, QPalette::Text, QPalette::Base, 3.0, QColor(255, 0, 0)},
        {u"Text3"_s, QPalette::Text, QPalette::Base, 3.0, QColor(0, 128, 0)},
        {u"Label2"_s, QPalette::WindowText, QPalette::Window, 4.5, QColor(255, 0, 0)},
        {u"Label3"_s, QPalette::WindowText, QPalette::Window, 4.5, QColor(0, 128, 0)},
        {u"Command1"_s, QPalette::ButtonText, QPalette::Button, 4.5, QColor(0, 0, 0)},
    };
    const auto check = [&](const QWidget *window, bool isDark) {
        for (const Reading &r : readings) {
            const QPalette palette = findControl<QWidget>(window, r.control)->palette();
            const QColor colour = palette.color(r.role);
            if (isDark) {
                EXPECT_GE(lumasio::window::contrastRatio(colour, palette.color(r.background)),
                          r.minimum)
                    << r.control.toStdString();
                // Still red, still green.
                EXPECT_EQ(colour.hslHue(), r.lightColour.hslHue()) << r.control.toStdString();
            } else {
                EXPECT_EQ(colour, r.lightColour) << r.control.toStdString();
            }
        }
    };

    // A theme switch reaches a shown window through its event queue.
    const auto switchTo = [](const QPalette &palette) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();
    };
    switchTo(dark);
    {
        Form1 window;
        window.show();
        check(&window, true);
        switchTo(light);
        check(&window, false);
        switchTo(dark);
        check(&window, true);
    }
    switchTo(light);
}

// Every Windows draws the form in the classic look it is laid out for, with
// whole frames, even Windows 11, where Qt would pick its Windows 11 style.
TEST_F(Form1Test, WindowsDrawsTheClassicLook)
{
    if (QGuiApplication::platformName() != u"windows"_s) {
        GTEST_SKIP() << "Windows' own styles";
    }
    // The run meant to play Windows 11 must get it from the prefix.
    if (qEnvironmentVariable("LUMASIO_WINE_WINDOWS") == u"win11"_s) {
        EXPECT_GE(QOperatingSystemVersion::current(), QOperatingSystemVersion::Windows11);
    }
    const auto *frames =
        qobject_cast<const lumasio::runtime::WholePixelFrames *>(QApplication::style());
    ASSERT_NE(frames, nullptr) << "the style keeps frames whole";
    EXPECT_EQ(frames->baseStyle()->name(), u"windowsvista"_s);
}

#ifdef Q_OS_WIN
// Last, as windows.h defines words such as "interface" as macros.
#include <qt_windows.h>

// The window menu's "置顶(&T)", as Windows shows it and as choosing it
// brings WM_SYSCOMMAND to the window: on top and checked, then ordinary and unchecked, as often
// as it is chosen, with the window, its texts and its focus as they were.
TEST_F(Form1Test, WindowMenuItemKeepsTheWindowOnTop)
{
    if (QGuiApplication::platformName() != u"windows"_s) {
        GTEST_SKIP() << "the window menu is Windows' own";
    }
    const auto hwnd = reinterpret_cast<HWND>(window()->winId());
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    std::array<wchar_t, 32> caption{};
    GetMenuStringW(menu, count - 1, caption.data(), caption.size(), MF_BYPOSITION);
    EXPECT_EQ(QString::fromWCharArray(caption.data()), u"置顶(&T)"_s);
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    const UINT item = GetMenuItemID(menu, count - 1);

    QTest::mouseClick(find<QRadioButton>(u"Option4"_s), Qt::LeftButton);
    enterPrice(u"3000"_s);
    clickCalculate();
    find<QLineEdit>(u"Text1"_s)->setFocus();
    const QRect geometry = window()->geometry();
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    const auto onTop = [&] { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    const auto checked = [&] { return (GetMenuState(menu, item, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    EXPECT_FALSE(onTop());
    EXPECT_FALSE(checked());
    // Windows' own menu posts the command, Qt's Alt+Space menu hands it to
    // the window procedure, as a sent one comes.
    for (const bool expected : {true, false, true, false}) {
        if (expected) {
            PostMessageW(hwnd, WM_SYSCOMMAND, item, 0);
            QCoreApplication::processEvents();
        } else {
            SendMessageW(hwnd, WM_SYSCOMMAND, item, 0);
        }
        EXPECT_EQ(onTop(), expected);
        EXPECT_EQ(checked(), expected);
        EXPECT_EQ(window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), expected);
        EXPECT_EQ(reinterpret_cast<HWND>(window()->winId()), hwnd) << "made again";
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_EQ(window()->geometry(), geometry);
        RECT now{};
        GetWindowRect(hwnd, &now);
        EXPECT_TRUE(EqualRect(&now, &frame));
        EXPECT_EQ(text(u"Text1"_s), u"3000"_s);
        EXPECT_EQ(text(u"Text2"_s), u"3300"_s);
        EXPECT_EQ(text(u"Text3"_s), u"2700"_s);
        EXPECT_TRUE(find<QRadioButton>(u"Option4"_s)->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>(u"Text1"_s));
    }
}

// Whatever changes the desktop's look, as Windows tells the window, or gives
// a control a style of its own, the window keeps the keyboard and the
// market-state list opens on the first click.
TEST_F(Form1Test, ListOpensOnTheFirstClickAfterTheDesktopChanges)
{
    if (QGuiApplication::platformName() != u"windows"_s) {
        GTEST_SKIP() << "Windows' own messages";
    }
    const auto hwnd = reinterpret_cast<HWND>(window()->winId());
    auto *input = find<QLineEdit>(u"Text1"_s);
    const std::array<std::pair<const char *, std::function<void()>>, 5> changes{{
        {"a theme", [&] { SendMessageW(hwnd, WM_THEMECHANGED, 0, 0); }},
        {"light or dark",
         [&] { SendMessageW(hwnd, WM_SETTINGCHANGE, 0, LPARAM(L"ImmersiveColorSet")); }},
        {"the colours", [&] { SendMessageW(hwnd, WM_SYSCOLORCHANGE, 0, 0); }},
        {"the accent colour",
         [&] { SendMessageW(hwnd, WM_DWMCOLORIZATIONCOLORCHANGED, 0xff0078d7, TRUE); }},
        {"a control's style",
         [&] {
             QStyle *fusion = QStyleFactory::create(u"Fusion"_s);
             fusion->setParent(window());
             find<QLabel>(u"Label5"_s)->setStyle(fusion);
         }},
    }};
    int row = 0; // 开盘中, then 未开盘 and back
    for (const auto &[what, change] : changes) {
        SCOPED_TRACE(what);
        input->setFocus();
        change();
        QCoreApplication::processEvents();
        EXPECT_EQ(GetActiveWindow(), hwnd);
        EXPECT_EQ(QApplication::focusWidget(), input);
        pickFromPopup(row);
        EXPECT_EQ(referenceLabel(), row == 0 ? u"昨结价:"_s : u"结算价:"_s);
        row = 1 - row;
    }
}

#endif
