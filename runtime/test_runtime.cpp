// The runtime's controls and window on a form of their own, apart from
// Form1: the promises they make hold for any form.
#include "clickable_label.h"
#include "fitting_line_edit.h"
#include "form_window.h"
#include "pick_combo_box.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

using lumasio::runtime::FittingLineEdit;
using lumasio::runtime::PickComboBox;
using namespace Qt::StringLiterals;

// A second form, from the runtime's parts alone: no fixed geometry, a grid
// that sizes the window to what it holds, and every font the window's.
class SecondFormTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_window.setFont(QFont(u"宋体"_s, 12, QFont::Normal));
        auto *grid = new QGridLayout(&m_window);
        grid->setSizeConstraint(QLayout::SetFixedSize);
        grid->addWidget(m_box, 0, 0);
        grid->addWidget(m_combo, 0, 1);
        grid->addWidget(m_link, 1, 0, 1, 2);
        m_combo->addItems({u"开盘中"_s, u"未开盘"_s});
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_link->setText(u"更多软件"_s);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void setWindowFont(double points, bool bold)
    {
        QFont font = m_window.font();
        font.setPointSizeF(points);
        font.setBold(bold);
        m_window.setFont(font);
    }

    lumasio::runtime::FormWindow m_window;
    FittingLineEdit *m_box = new FittingLineEdit(&m_window);
    PickComboBox *m_combo = new PickComboBox(&m_window);
    lumasio::runtime::ClickableLabel *m_link = new lumasio::runtime::ClickableLabel(&m_window);
};

// Each step starts from where the one before it left the box.
TEST_F(SecondFormTest, FittingBoxFollowsTheFontItIsGiven)
{
    m_box->setFixedWidth(60);
    const QString fits = u"12"_s;
    const QString tooLong = u"1234567890123456"_s;
    struct Step {
        const char *what;
        std::function<void()> act;
        double points; // the size the box draws in
        bool bold;
    };
    const Step steps[] = {
        {"a long text", [&] { m_box->setText(tooLong); }, 8, false},
        {"a text a little too long, then the window at 9 pt",
         [&] {
             m_box->setText(u"12345678"_s);
             setWindowFont(9, false);
         },
         9, false},
        {"the window at 16 pt, then a short text",
         [&] {
             setWindowFont(16, false);
             m_box->setText(fits);
         },
         16, false},
        {"the window at 10 pt", [&] { setWindowFont(10, false); }, 10, false},
        {"the window bold under a long text",
         [&] {
             m_box->setText(tooLong);
             setWindowFont(10, true);
         },
         8, true},
        {"hidden, the window at 14 pt and at 11 pt, shown with a short text",
         [&] {
             m_box->hide();
             setWindowFont(14, true);
             setWindowFont(11, true);
             m_box->setText(fits);
             m_box->show();
         },
         11, true},
        {"the window's font in pixels under a long text",
         [&] {
             m_box->setText(tooLong);
             QFont font = m_window.font();
             font.setPixelSize(20);
             m_window.setFont(font);
         },
         8, true},
        {"a size of its own under a long text, the window at 18 pt, a short text",
         [&] {
             m_box->setText(tooLong);
             QFont own;
             own.setPointSizeF(13);
             m_box->setFont(own);
             setWindowFont(18, true);
             m_box->setText(fits);
         },
         13, true},
        {"a long text, the window at 9 pt and not bold, a short text",
         [&] {
             m_box->setText(tooLong);
             setWindowFont(9, false);
             m_box->setText(fits);
         },
         13, false},
        {"a long text, the window in another face",
         [&] {
             m_box->setText(tooLong);
             QFont font = m_window.font();
             font.setFamily(u"DejaVu Sans"_s);
             m_window.setFont(font);
         },
         8, false},
        {"its font read while drawn smaller, made bold and set back, then a short text",
         [&] {
             QFont font = m_box->font();
             font.setBold(true);
             m_box->setFont(font);
             m_box->setText(fits);
         },
         13, true},
    };
    for (const Step &step : steps) {
        step.act();
        EXPECT_EQ(m_box->font().pointSizeF(), step.points) << step.what;
        EXPECT_EQ(m_box->font().bold(), step.bold) << step.what;
        EXPECT_EQ(m_box->font().family(), m_window.font().family()) << step.what;
    }
}

// The layout sizes the box by its size hints, at the layout's own size and
// at the least the window may take: were they to follow the smaller font, a
// long text would narrow the box, and the narrower box would shrink the text
// further.
TEST_F(SecondFormTest, FittingBoxKeepsItsSizeInTheLayout)
{
    const QString tooLong = u"12345678901234567890"_s;
    for (const auto constraint : {QLayout::SetFixedSize, QLayout::SetMinimumSize}) {
        m_window.layout()->setSizeConstraint(constraint);
        const auto settle = [&] {
            // The layout follows size hints through posted events.
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            if (constraint == QLayout::SetMinimumSize) {
                m_window.resize(1, 1);
                QCoreApplication::processEvents();
            }
        };
        m_box->setText(u"12"_s);
        settle();
        const QSize size = m_box->size();
        for (const QString &text : {tooLong, u"12"_s, tooLong}) {
            m_box->setText(text);
            settle();
            EXPECT_EQ(m_box->size(), size) << text.toStdString() << " " << constraint;
            EXPECT_EQ(m_box->font().pointSizeF() < 12, text == tooLong) << text.toStdString();
        }
    }
}

// A face the desktop lacks is named by its first installed stand-in, on the
// window and the controls that take its font; any other face stays as named.
TEST_F(SecondFormTest, WindowNamesTheInstalledStandInOfAMissingFace)
{
    const QString installed = QFontDatabase::families().constFirst();
    const QString other = QFontDatabase::families().constLast();
    struct Row {
        QString face;
        QStringList standIns;
        QString named;
    };
    const Row rows[] = {
        {u"Lumasio Missing Face A"_s, {u"Lumasio Missing Face B"_s, installed, other}, installed},
        {u"Lumasio Missing Face C"_s, {u"Lumasio Missing Face D"_s}, u"Lumasio Missing Face C"_s},
        {u"Lumasio Missing Face E"_s, {}, u"Lumasio Missing Face E"_s},
        {installed, {other}, installed},
    };
    for (const Row &row : rows) {
        QFont::insertSubstitutions(row.face, row.standIns);
        QFont font = m_window.font();
        font.setFamily(row.face);
        m_window.setFont(font);
        QFont::removeSubstitutions(row.face);
        EXPECT_EQ(m_window.font().family(), row.named) << row.face.toStdString();
        EXPECT_EQ(m_box->font().family(), row.named) << row.face.toStdString();
        EXPECT_EQ(m_window.font().pointSize(), 12) << row.face.toStdString();
    }
}

} // namespace

#ifdef Q_OS_WIN
// Last, as windows.h defines words such as "interface" as macros.
#include <qt_windows.h>

// On any form's window the check mark says what Qt's flag does, whoever set
// it and however often the native window was made: set before the window is
// first shown, cleared and shown again, kept over a native window made anew,
// and changed by the form's own code while shown, which the menu shows as it
// opens.
TEST(FormWindowMenu, CheckMarkFollowsQtsFlag)
{
    if (QGuiApplication::platformName() != u"windows"_s) {
        GTEST_SKIP() << "the window menu is Windows' own";
    }
    enum class Then { Show, NewNativeWindow, OpenMenu };
    struct Step {
        const char *what;
        bool onTop;
        Then then;
    };
    const Step steps[] = {
        {"set before shown", true, Then::Show},
        {"cleared and shown again", false, Then::Show},
        {"set, on a native window made anew", true, Then::NewNativeWindow},
        {"cleared, on a native window made anew", false, Then::NewNativeWindow},
        {"set while shown, the menu opened", true, Then::OpenMenu},
        {"cleared while shown, the menu opened", false, Then::OpenMenu},
    };
    // destroy() and create() are the widget's own: a form may call them.
    struct Form : lumasio::runtime::FormWindow {
        using QWidget::create;
        using QWidget::destroy;
    } window;
    window.resize(200, 100);
    for (const Step &step : steps) {
        if (step.then == Then::OpenMenu) {
            // As a form may: Qt's flag and its window's, without showing
            // the window again.
            Qt::WindowFlags flags = window.windowFlags();
            flags.setFlag(Qt::WindowStaysOnTopHint, step.onTop);
            window.overrideWindowFlags(flags);
            window.windowHandle()->setFlags(flags);
        } else {
            window.setWindowFlag(Qt::WindowStaysOnTopHint, step.onTop);
        }
        if (step.then == Then::NewNativeWindow) {
            window.destroy();
            window.create();
        }
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << step.what;
        const auto hwnd = reinterpret_cast<HWND>(window.winId());
        const HMENU menu = GetSystemMenu(hwnd, FALSE);
        if (step.then == Then::OpenMenu) {
            // What Windows sends as the window menu opens.
            SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                         MAKELPARAM(0, TRUE));
        }
        int items = 0;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            std::array<wchar_t, 32> caption{};
            GetMenuStringW(menu, i, caption.data(), caption.size(), MF_BYPOSITION);
            if (QString::fromWCharArray(caption.data()) == u"置顶(&T)"_s) {
                ++items;
                EXPECT_EQ((GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0, step.onTop)
                    << step.what;
            }
        }
        EXPECT_EQ(items, 1) << step.what;
    }
}
#endif
