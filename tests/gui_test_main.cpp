// Runs GoogleTest inside a QApplication on Qt's offscreen platform, prepared
// the way Lumasio's start-up prepares it (fonts, Chinese Qt texts). Qt's own
// -platform and -style arguments choose another platform or style; the run
// names what it got, since Qt falls back quietly where a style is missing.
#include "product.h"
#include "startup.h"

#include <QApplication>
#include <QLocale>
#include <QStyle>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    lumasio::runtime::prepareApplication(lumasio::window::application());
    if (!GTEST_FLAG_GET(list_tests)) {
        const QStyle *style = lumasio::runtime::drawingStyle(QApplication::style());
        std::fprintf(stderr, "GUI tests on %s, style %s, %g device pixels a pixel\n",
                     qPrintable(QGuiApplication::platformName()), qPrintable(style->name()),
                     qApp->devicePixelRatio());
    }
    return RUN_ALL_TESTS();
}
