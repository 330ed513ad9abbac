#include "widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumasio::window {

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

PickComboBox::PickComboBox(QWidget *parent)
    : QComboBox(parent)
{
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
    QMetaObject::invokeMethod(this, "endPick", Qt::QueuedConnection);
}

void PickComboBox::endPick()
{
    m_picking = false;
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

} // namespace lumasio::window
