#include "fitting_line_edit.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QScopedValueRollback>
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

// The size, in quarter points down to MinimumPoints, in which text fits width
// pixels of a line edit in full's face; 0 where it fits in full itself, a
// font in points or in pixels.
[[nodiscard]] double fittedPoints(const QFont &full, const QString &text, int width)
{
    const double needed = QFontMetricsF(full).horizontalAdvance(text);
    const double fullPoints =
        full.pointSizeF() > 0 ? full.pointSizeF() : QFontInfo(full).pointSizeF();
    if (needed <= width || fullPoints <= MinimumPoints) {
        return 0;
    }
    // Width grows nearly in proportion to size; hinting makes it step, so
    // check and go down a quarter point at a time from the estimate.
    QFont font = full;
    double points = std::floor(fullPoints * width / needed * 4.0) / 4.0 + 0.25;
    do {
        points = std::max(points - 0.25, MinimumPoints);
        font.setPointSizeF(points);
    } while (points > MinimumPoints && QFontMetricsF(font).horizontalAdvance(text) > width);
    return points;
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
[[nodiscard]] QFont ownAttributes(QFont font, const QFont &inherited)
{
    uint own = 0;
    for (uint attribute = 1; (attribute & QFont::AllPropertiesResolved) != 0; attribute <<= 1) {
        QFont one = font;
        one.setResolveMask(attribute);
        if (one.resolve(inherited) != inherited) {
            own |= attribute;
        }
    }
    font.setResolveMask(own);
    return font;
}

} // namespace

// The width the box leaves for its text and cursor without scrolling.
int FittingLineEdit::textRoom() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    // QLineEdit scrolls once the text, one pixel and the cursor don't fit.
    const int cursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    return contents.width() - 2 * LineEditInnerMargin - 1 - cursor;
}

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
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int intoFrame = std::max(0, option.lineWidth - 1);
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

bool FittingLineEdit::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    switch (event->type()) {
    case QEvent::FontChange:
        // While the text is drawn smaller, a font passed down from the parent
        // leaves fit()'s own in place; any other was set on the box.
        if (!m_fitting && m_shrunkPoints > 0
            && drawnFont().resolve(inheritedFont(this)) != font()) {
            takeSetFont();
        }
        break;
    case QEvent::StyleChange: // the style sizes the frame
    case QEvent::ParentChange:
        trimMargins();
        break;
    case QEvent::Resize:
    case QEvent::Show:
        break;
    default:
        return handled;
    }
    fit();
    return handled;
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

QFont FittingLineEdit::drawnFont() const
{
    QFont drawn = m_ownFont;
    drawn.setPointSizeF(m_shrunkPoints);
    return drawn;
}

// A font set while the text is drawn smaller becomes the box's own. One read
// from font() then holds the smaller size: set back, it keeps the size the
// box had of its own, or none.
void FittingLineEdit::takeSetFont()
{
    const QFont inherited = inheritedFont(this);
    QFont set = font();
    if (set.pointSizeF() == m_shrunkPoints) {
        set.setResolveMask(QFont::AllPropertiesResolved & ~QFont::SizeResolved);
        set = set.resolve(m_ownFont.resolve(inherited));
    }
    m_ownFont = ownAttributes(set, inherited);
}

// The text is measured in the full font, the box's own attributes over what
// it inherits, each time. A hidden box is fitted when it shows: while the
// window is being built its font and text change several times, and
// measuring each would load font sizes that are never drawn.
void FittingLineEdit::fit()
{
    // The fonts fit() sets are no new full font.
    if (m_fitting || !isVisible()) {
        return;
    }
    const QScopedValueRollback fitting(m_fitting, true);
    const bool wasSmaller = m_shrunkPoints > 0;
    if (wasSmaller) {
        m_shrunkPoints = 0;
        setFont(m_ownFont);
    }
    const double points = fittedPoints(font(), text(), textRoom());
    if (points == 0) {
        return;
    }
    if (!wasSmaller) {
        m_ownFont = ownAttributes(font(), inheritedFont(this));
        if (parentWidget() != nullptr) {
            parentWidget()->installEventFilter(this);
        }
    }
    m_fullSizeHint = QLineEdit::sizeHint();
    m_fullMinimumSizeHint = QLineEdit::minimumSizeHint();
    m_shrunkPoints = points;
    setFont(drawnFont());
}

} // namespace lumasio::runtime
