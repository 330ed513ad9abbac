// Runs GoogleTest inside a QApplication on Qt's offscreen platform, prepared
// the way Lumasio's start-up prepares it (fonts, Chinese Qt texts).
#include "handlers.h"
#include "startup.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    lumasio::runtime::prepareApplication(lumasio::window::application());
    return RUN_ALL_TESTS();
}
