#include "handler_error.h"
#include "handlers.h"
#include "memory_form.h"
#include "product.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lumasio::runtime::Error;
using lumasio::runtime::ErrorKind;
using lumasio::tests::MemoryForm;

namespace {

// The site the link opens: the host that CMake was configured with.
[[nodiscard]] QUrl expectedSite()
{
    return QUrl(u"http://"_s + QStringLiteral(LUMASIO_PUBLISHER_HOST) + u"/"_s);
}

TEST(MarketStateSwitch, FollowsOnlyTheTwoExactTexts)
{
    struct Case {
        QString comboText;
        bool labelWasVisible;
        bool labelVisible;
    };
    const Case cases[] = {
        {u"开盘中"_s, true, false},
        {u"未开盘"_s, false, true},
        {u"开盘中"_s, false, false},
        {u"未开盘"_s, true, true},
        // Anything else is no market state and leaves the label alone.
        {QString(), true, true},
        {QString(), false, false},
        {u"开盘中 "_s, true, true},
        {u"开盘"_s, true, true},
        {u"未开盘中"_s, false, false},
    };
    for (const Case &c : cases) {
        MemoryForm form;
        form.put(u"Text2"_s, u"3210"_s);
        form.put(u"Combo1"_s, c.comboText);
        form.setVisible(u"Label6", c.labelWasVisible);
        lumasio::window::combo1Click(form);
        EXPECT_EQ(form.visible(u"Label6"_s), c.labelVisible) << c.comboText.toStdString();
        EXPECT_EQ(form.text(u"Text2"), u"3210"_s);
    }
}

TEST(MarketStateSwitch, ErrorInTheRefreshLeavesTheComboHandler)
{
    MemoryForm form;
    form.failingControls.insert(u"Combo1"_s);
    EXPECT_THROW(lumasio::window::combo1Click(form), Error);
}

TEST(WebSiteLink, EachClickLaunchesTheSiteOnce)
{
    MemoryForm form;
    lumasio::window::label4Click(form);
    lumasio::window::label4Click(form);
    ASSERT_EQ(form.launched.size(), 2);
    EXPECT_EQ(form.launched.front(), expectedSite());
    EXPECT_TRUE(form.writes.isEmpty());
}

TEST(WebSiteLink, FailedLaunchRaisesTheLaunchError)
{
    MemoryForm form;
    form.failLaunch = true;
    try {
        lumasio::window::label4Click(form);
        FAIL() << "raised nothing";
    } catch (const Error &error) {
        EXPECT_EQ(error.kind(), ErrorKind::Launch);
        EXPECT_TRUE(error.message().contains(expectedSite().host()));
    }
}

TEST(WebSiteLink, AddressIsAPlainHttpUrlOfAHost)
{
    const QUrl site = lumasio::window::publisherSite();
    EXPECT_TRUE(site.isValid());
    EXPECT_EQ(site.scheme(), u"http"_s);
    EXPECT_FALSE(site.host().isEmpty());
    EXPECT_EQ(site.path(), u"/"_s);
}

TEST(ErrorMessages, QuoteLongInputShortenedWithoutSplittingAPair)
{
    const QString longDigits(32767, u'9');
    const Error error = Error::typeMismatch(longDigits);
    EXPECT_LT(error.message().size(), 100);
    EXPECT_TRUE(error.message().contains(u'…'));

    // An emoji straddling the cut is kept whole or dropped whole.
    const QString emoji = QString(39, u'x') + u"😀"_s + u"tail"_s;
    const QString quoted = lumasio::runtime::quoteForMessage(emoji);
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        if (quoted[i].isHighSurrogate()) {
            ASSERT_LT(i + 1, quoted.size());
            EXPECT_TRUE(quoted[i + 1].isLowSurrogate());
        }
    }
}

} // namespace
