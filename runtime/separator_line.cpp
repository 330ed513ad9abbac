#include "separator_line.h"

#include <QPainter>

namespace lumasio::runtime {

SeparatorLine::SeparatorLine(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SeparatorLine::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.fillRect(0, 0, width(), 1, palette().color(QPalette::Midlight));
}

} // namespace lumasio::runtime
