#include "fitting_line_edit.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace lumasio::runtime {

namespace {

// QLineEdit keeps this much room between its contents rectangle and the text
// on either side; text margins add to it and may be negative.
constexpr int LineEditInnerMargin = 2;

// The smallest size a fitted text is drawn in.
constexpr double MinimumPoints = 8.0;

[[nodiscard]] double textWidth(const QFont &font, const QString &text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

// The width of the frame a line edit draws around its text: none for an edit
// field inside a combo box, which draws the frame itself.
[[nodiscard]] int frameWidth(const QLineEdit *edit)
{
    if (!edit->hasFrame()) {
        return 0;
    }
    QStyleOptionFrame option;
    option.initFrom(edit);
    return edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
}

// The width a line edit leaves for its text and cursor without scrolling.
[[nodiscard]] int textRoom(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = frameWidth(edit);
    const QRect contents = edit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                               .marginsRemoved(edit->textMargins());
    // QLineEdit scrolls once the text, one pixel and the cursor don't fit.
    const int cursor = edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit);
    return contents.width() - 2 * LineEditInnerMargin - 1 - cursor;
}

// The font, at most as large as full, in which text fits width pixels of a
// line edit: full itself where it fits, else the largest size in quarter
// points down to MinimumPoints, a full font in pixels too.
[[nodiscard]] QFont fittedFont(const QFont &full, const QString &text, int width)
{
    const double needed = textWidth(full, text);
    const double fullPoints =
        full.pointSizeF() > 0 ? full.pointSizeF() : QFontInfo(full).pointSizeF();
    if (needed <= width || fullPoints <= MinimumPoints) {
        return full;
    }
    // Width grows nearly in proportion to size; hinting makes it step, so
    // check and go down a quarter point at a time from the estimate.
    QFont font = full;
    double points = std::floor(fullPoints * width / needed * 4.0) / 4.0;
    points = std::max(points, MinimumPoints);
    font.setPointSizeF(points);
    while (points > MinimumPoints && textWidth(font, text) > width) {
        points = std::max(points - 0.25, MinimumPoints);
        font.setPointSizeF(points);
    }
    return font;
}

// The font a widget inherits, as QWidget resolves it, style sheets aside: its
// parent's, over the application's font for the widget's class where that
// one is not the application's font; the application's alone for a window.
[[nodiscard]] QFont inheritedFont(const QWidget *widget)
{
    const QFont natural = QApplication::font(widget);
    const QWidget *parent = widget->parentWidget();
    if (parent == nullptr
        || (widget->isWindow() && !widget->testAttribute(Qt::WA_WindowPropagation))) {
        return natural;
    }
    return natural.isCopyOf(QApplication::font()) ? parent->font()
                                                  : parent->font().resolve(natural);
}

// font with only the attributes it holds of its own: those that differ from
// inherited. QWidget::font() marks the inherited ones as set too, and setting
// them on the widget would stop them following its parent. One set to the
// very value it would inherit can't be told apart, and follows the parent.
[[nodiscard]] QFont ownAttributes(const QFont &font, const QFont &inherited)
{
    uint own = 0;
    for (uint attribute = 1; (attribute & QFont::AllPropertiesResolved) != 0; attribute <<= 1) {
        QFont one = font;
        one.setResolveMask(attribute);
        if (one.resolve(inherited) != inherited) {
            own |= attribute;
        }
    }
    QFont result = font;
    result.setResolveMask(own);
    return result;
}

// font in the size of sized, whether in points or in pixels.
[[nodiscard]] QFont resized(QFont font, const QFont &sized)
{
    if (sized.pointSizeF() > 0) {
        font.setPointSizeF(sized.pointSizeF());
    } else {
        font.setPixelSize(sized.pixelSize());
    }
    return font;
}

} // namespace

FittingLineEdit::FittingLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    trimMargins();
    connect(this, &QLineEdit::textChanged, this, &FittingLineEdit::fit);
}

void FittingLineEdit::trimMargins()
{
    // Text starts two pixels in from the box's edge: one of frame, one of
    // air. Wider frames (Windows draws two pixels) give up their inner line
    // to the text; on the right QLineEdit keeps a pixel and the cursor's
    // width of its own. An edit field without a frame sits inside its combo
    // box's, and keeps its air.
    const int intoFrame = std::max(0, frameWidth(this) - 1);
    setTextMargins(1 - LineEditInnerMargin - intoFrame, 0, -LineEditInnerMargin - intoFrame, 0);
}

QSize FittingLineEdit::sizeHint() const
{
    return m_shrunkPoints > 0 ? m_fullSizeHint : QLineEdit::sizeHint();
}

QSize FittingLineEdit::minimumSizeHint() const
{
    return m_shrunkPoints > 0 ? m_fullMinimumSizeHint : QLineEdit::minimumSizeHint();
}

void FittingLineEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_fitting) {
        // A font passed down from the parent leaves fit()'s font in place,
        // so the box shows exactly that over what it inherits. Any other was
        // set on the box: its new full font. One read from font() while the
        // text is drawn smaller holds the smaller size: set back with another
        // attribute changed, it keeps the full size.
        if (m_shrunkPoints > 0 && drawnFont().resolve(inheritedFont(this)) != font()) {
            const bool readWhileSmaller = font().pointSizeF() == m_shrunkPoints;
            const QFont full = fullFont();
            m_shrunkPoints = 0;
            if (readWhileSmaller) {
                setFittedFont(full);
            }
        }
        fit();
    } else if (event->type() == QEvent::StyleChange || event->type() == QEvent::ParentChange) {
        // The style sizes the box, a new parent brings another font: the
        // text and the size hints are measured afresh in the full font.
        showFullFont();
        trimMargins();
        fit();
    }
}

// While its text is drawn smaller the box holds a size of its own, so a new
// size in its parent's font brings it no font change: the parent's tells it.
bool FittingLineEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::FontChange && m_shrunkPoints > 0) {
        fit();
    }
    return QLineEdit::eventFilter(watched, event);
}

void FittingLineEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    fit();
}

void FittingLineEdit::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    fit();
}

// The font the box shows where its text fits: while the text is drawn
// smaller, its own size or the size it inherits now.
QFont FittingLineEdit::fullFont() const
{
    if (m_shrunkPoints == 0) {
        return font();
    }
    const bool ownSize = (m_ownFont.resolveMask() & QFont::SizeResolved) != 0;
    return resized(font(), ownSize ? m_ownFont : inheritedFont(this));
}

// What fit() sets on the box to draw the text smaller.
QFont FittingLineEdit::drawnFont() const
{
    QFont drawn = m_ownFont;
    drawn.setPointSizeF(m_shrunkPoints);
    return drawn;
}

// A hidden box is fitted when it shows: while the window is being built its
// font and text change several times, and measuring each would load font
// sizes that are never drawn.
void FittingLineEdit::fit()
{
    if (!isVisible()) {
        return;
    }
    // A full font that changed under the smaller one is measured afresh.
    if (m_shrunkPoints > 0 && fullFont() != m_fullFont) {
        showFullFont();
    }
    const QFont full = fullFont();
    const QFont fitted = fittedFont(full, text(), textRoom(this));
    if (fitted == full) {
        showFullFont();
        return;
    }
    if (m_shrunkPoints == 0) {
        m_ownFont = ownAttributes(full, inheritedFont(this));
        m_fullFont = full;
        m_fullSizeHint = QLineEdit::sizeHint();
        m_fullMinimumSizeHint = QLineEdit::minimumSizeHint();
        if (parentWidget() != nullptr) {
            parentWidget()->installEventFilter(this);
        }
    }
    m_shrunkPoints = fitted.pointSizeF();
    setFittedFont(drawnFont());
}

void FittingLineEdit::showFullFont()
{
    if (m_shrunkPoints > 0) {
        m_shrunkPoints = 0;
        setFittedFont(m_ownFont);
    }
}

void FittingLineEdit::setFittedFont(const QFont &font)
{
    m_fitting = true;
    setFont(font);
    m_fitting = false;
}

} // namespace lumasio::runtime
