// The first yardstick: a bare Qt window of Lumasio's size with three labels
// in the Song face Lumasio falls back to where 宋体 is missing, at the sizes
// its window draws: 14.25 pt normal and bold, 15 pt bold.
#include "first_frame.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    lumasio::bench::reportFirstFrame();
    QWidget window;
    window.setFixedSize(270, 237);
    struct Label {
        QString text;
        double points;
        bool bold;
    };
    int y = 10;
    for (const Label &caption : {Label{u"结算价:"_s, 14.25, false}, Label{u"涨停："_s, 14.25, true},
                                 Label{u"3210"_s, 15, true}}) {
        auto *label = new QLabel(caption.text, &window);
        QFont font(u"Noto Serif CJK SC"_s);
        font.setPointSizeF(caption.points);
        font.setBold(caption.bold);
        label->setFont(font);
        label->move(10, y);
        y += 40;
    }
    window.show();
    return QApplication::exec();
}
