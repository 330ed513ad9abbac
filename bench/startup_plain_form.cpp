// The plain form: Form1's layout (window/form1.ui) through uic, with Qt's own
// classes in place of the runtime's, in the same faces and sizes, and no
// Lumasio code. Lumasio against it is Lumasio's own share of the start-up.
#include "first_frame.h"
#include "ui_plain_form1.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    lumasio::bench::reportFirstFrame();
    // Where 宋体 is missing, the Song face Lumasio falls back to on Debian.
    QFont::insertSubstitution(u"宋体"_s, u"Noto Serif CJK SC"_s);
    QWidget window;
    Ui::Form1 form;
    form.setupUi(&window);
    QFont exact = window.font();
    exact.setPointSizeF(14.25);
    window.setFont(exact);
    window.show();
    return QApplication::exec();
}
