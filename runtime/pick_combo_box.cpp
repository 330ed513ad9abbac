#include "pick_combo_box.h"

#include "fitting_line_edit.h"

#include <QKeyEvent>

#include <algorithm>
#include <array>

namespace lumasio::runtime {

PickComboBox::PickComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // The edit field shows a list item whole: "开盘中" is a little wider than
    // the field in the box's font. The combo turns the field's frame off, so
    // its margins are trimmed again.
    auto *edit = new FittingLineEdit(this);
    setLineEdit(edit);
    edit->trimMargins();
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

void PickComboBox::keyPressEvent(QKeyEvent *event)
{
    // With the popup shut, these step through the list items.
    constexpr std::array steps{Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                               Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    m_picking = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
                && std::ranges::find(steps, event->key()) != steps.end();
    QComboBox::keyPressEvent(event);
    m_picking = false;
}

void PickComboBox::wheelEvent(QWheelEvent *event)
{
    m_picking = true;
    QComboBox::wheelEvent(event);
    m_picking = false;
}

} // namespace lumasio::runtime
