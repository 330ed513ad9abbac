#include "whole_pixel_frames.h"

#include <QPainter>
#include <QStyleOption>

namespace lumasio::runtime {

namespace {

// Windows' style draws a theme part straight into the window's backing
// store: it scales the part's rectangle to device pixels and rounds it with
// QRectF::toRect, which rounds the corner and then the size. The backing
// store clips each widget to its rectangle with both corners rounded. The
// corner is rounded alike in both, but where a widget sits half a device pixel
// off the grid (at 125 % a box at y = 14 starts at 17.5) the far sides can
// disagree by a pixel: the part's last row or column falls outside the clip,
// and the box loses that edge. There the part is drawn a logical pixel
// smaller on that side, so that all of it falls inside the clip: the edge
// moves in by at most a device pixel and shows. The frame test at 125 % and
// 175 % fails without it.

// The device pixels the backing store lets a widget paint within rect.
[[nodiscard]] QRect clipOnDevice(const QTransform &device, const QRect &rect)
{
    const QPoint topLeft = device.map(QPointF(rect.topLeft())).toPoint();
    const QPoint end =
        device.map(QPointF(rect.x() + rect.width(), rect.y() + rect.height())).toPoint();
    return {topLeft, end - QPoint(1, 1)};
}

// The device pixels the style covers with a theme part drawn in rect.
[[nodiscard]] QRect partOnDevice(const QTransform &device, const QRect &rect)
{
    return QRectF(device.dx() + rect.x() * device.m11(), device.dy() + rect.y() * device.m22(),
                  rect.width() * device.m11(), rect.height() * device.m22())
        .toRect();
}

// The rectangle within rect whose part falls wholly inside the clip of rect.
[[nodiscard]] QRect fittedPart(const QPainter *painter, const QRect &rect)
{
    const QTransform &device = painter->deviceTransform();
    if (device.type() != QTransform::TxScale) {
        return rect;
    }
    const QRect clip = clipOnDevice(device, rect);
    QRect fitted = rect;
    // A pixel in from each far side that spills, never more.
    if (partOnDevice(device, fitted).bottom() > clip.bottom()) {
        fitted.setBottom(fitted.bottom() - 1);
    }
    if (partOnDevice(device, fitted).right() > clip.right()) {
        fitted.setRight(fitted.right() - 1);
    }
    return fitted;
}

} // namespace

void WholePixelFrames::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                     QPainter *painter, const QWidget *widget) const
{
    const auto *frame = element == PE_FrameLineEdit || element == PE_FrameGroupBox
                            ? qstyleoption_cast<const QStyleOptionFrame *>(option)
                            : nullptr;
    if (frame == nullptr || widget == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    QStyleOptionFrame fitted = *frame;
    fitted.rect = fittedPart(painter, option->rect);
    QProxyStyle::drawPrimitive(element, &fitted, painter, widget);
}

void WholePixelFrames::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                          QPainter *painter, const QWidget *widget) const
{
    // An editable combo box draws its frame as the edit field's part.
    const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    if (combo == nullptr || !combo->editable || !combo->subControls.testFlag(SC_ComboBoxEditField)
        || widget == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionComboBox field = *combo;
    field.subControls = SC_ComboBoxEditField;
    field.rect = fittedPart(painter, option->rect);
    QProxyStyle::drawComplexControl(control, &field, painter, widget);
    QStyleOptionComboBox rest = *combo;
    rest.subControls &= ~SC_ComboBoxEditField;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

} // namespace lumasio::runtime
