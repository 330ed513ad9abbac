#pragma once

#include <QWidget>

namespace lumasio::runtime {

// A one-pixel horizontal rule across the widget, in the light grey of a
// scroll-bar track. It takes the grey from the palette, so it follows the
// desktop's colours.
class SeparatorLine : public QWidget
{
    Q_OBJECT

public:
    explicit SeparatorLine(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace lumasio::runtime
