#pragma once

#include <QProxyStyle>

namespace lumasio::runtime {

// Over Windows' native style at a fractional display scaling (125 %, 175 %,
// 225 %), keeps all four edges of the frames of line edits, editable combo
// boxes and group boxes. At whole scalings it draws as the style it wraps.
class WholePixelFrames : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;
};

} // namespace lumasio::runtime
