// The yardstick: a bare Qt window of Lumasio's size showing one CJK label.
#include "first_frame.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    lumasio::bench::reportFirstFrame();
    QWidget window;
    window.setFixedSize(270, 237);
    auto *label = new QLabel(u"结算价:"_s, &window);
    label->move(10, 10);
    window.show();
    return QApplication::exec();
}
