#include "controls.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace lumasio::runtime {

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// Like a button: the click counts when the press and the release both fall
// on the label, so dragging away cancels it.
void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        Q_EMIT clicked();
    }
}

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

// Trims a line edit's inner margins to one pixel beside the frame on the left
// and the cursor's room on the right.
void trimTextMargins(QLineEdit *edit)
{
    // Text starts two pixels in from the box's edge: one of frame, one of
    // air. Wider frames (Windows draws two pixels) give up their inner line
    // to the text; on the right QLineEdit keeps a pixel and the cursor's
    // width of its own. An edit field without a frame sits inside its combo
    // box's, and keeps its air.
    const int intoFrame = std::max(0, frameWidth(edit) - 1);
    edit->setTextMargins(1 - LineEditInnerMargin - intoFrame, 0, -LineEditInnerMargin - intoFrame,
                         0);
}

// The font, at most as large as full, in which text fits width pixels of a
// line edit: full itself where it fits, else the largest size in quarter
// points down to MinimumPoints.
[[nodiscard]] QFont fittedFont(const QFont &full, const QString &text, int width)
{
    const double needed = textWidth(full, text);
    if (needed <= width || full.pointSizeF() <= MinimumPoints) {
        return full;
    }
    // Width grows nearly in proportion to size; hinting makes it step, so
    // check and go down a quarter point at a time from the estimate.
    QFont font = full;
    double points = std::floor(full.pointSizeF() * width / needed * 4.0) / 4.0;
    points = std::max(points, MinimumPoints);
    font.setPointSizeF(points);
    while (points > MinimumPoints && textWidth(font, text) > width) {
        points = std::max(points - 0.25, MinimumPoints);
        font.setPointSizeF(points);
    }
    return font;
}

} // namespace

FittingLineEdit::FittingLineEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_fullFont(font())
{
    trimTextMargins(this);
    connect(this, &QLineEdit::textChanged, this, &FittingLineEdit::fit);
}

void FittingLineEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !m_fitting) {
        // The font from outside is the full font, as Designer's code sets it
        // after building the box. But a shrunk box's size is fit()'s own: a
        // parent's font passed down anew keeps it, and is no new full size.
        QFont full = font();
        if (m_shrunkPoints > 0 && full.pointSizeF() == m_shrunkPoints) {
            full.setPointSizeF(m_fullFont.pointSizeF());
        }
        m_fullFont = full;
        m_shrunkPoints = 0;
        fit();
    } else if (event->type() == QEvent::StyleChange) {
        trimTextMargins(this);
        fit();
    }
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

// A hidden box is fitted when it shows: while the window is being built its
// font and text change several times, and measuring each would load font
// sizes that are never drawn.
void FittingLineEdit::fit()
{
    if (!isVisible()) {
        return;
    }
    const QFont fitted = fittedFont(m_fullFont, text(), textRoom(this));
    m_shrunkPoints = fitted == m_fullFont ? 0 : fitted.pointSizeF();
    if (fitted != font()) {
        m_fitting = true;
        setFont(fitted);
        m_fitting = false;
    }
}

PickComboBox::PickComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // The edit field shows a list item whole: "开盘中" is a little wider than
    // the field in the box's font. The combo turns the field's frame off, so
    // its margins are trimmed again.
    setLineEdit(new FittingLineEdit(this));
    trimTextMargins(lineEdit());
    connect(this, &QComboBox::activated, this, [this] {
        if (m_picking) {
            m_picking = false;
            Q_EMIT picked();
        }
    });
}

// The popup closes just before it reports the chosen item, within the same
// event. When it closes without a choice (Escape, a click elsewhere), the
// queued reset clears the mark before any later input can be taken for a
// pick.
void PickComboBox::hidePopup()
{
    m_picking = true;
    QComboBox::hidePopup();
    QMetaObject::invokeMethod(
        this, [this] { m_picking = false; }, Qt::QueuedConnection);
}

// The edit field takes the box's font as its own full font. Once it has
// drawn its text smaller, that size is its own and no longer follows the
// box's, so the whole font is handed on. A box made not editable has no edit
// field.
void PickComboBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    QLineEdit *edit = lineEdit();
    if (event->type() == QEvent::FontChange && edit != nullptr) {
        edit->setFont(font());
    }
}

void PickComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        // With the popup shut, these step through the list items.
        m_picking =
            event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
        break;
    default:
        m_picking = false;
        break;
    }
    QComboBox::keyPressEvent(event);
    m_picking = false;
}

void PickComboBox::wheelEvent(QWheelEvent *event)
{
    m_picking = true;
    QComboBox::wheelEvent(event);
    m_picking = false;
}

SeparatorLine::SeparatorLine(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SeparatorLine::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(0, 0, width(), 1, palette().color(QPalette::Midlight));
}

} // namespace lumasio::runtime
