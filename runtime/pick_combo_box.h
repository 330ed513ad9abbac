#pragma once

#include <QComboBox>

namespace lumasio::runtime {

// An editable combo box that tells a real pick of a list item apart from
// typed text. QComboBox also emits activated() when typed text matching an
// item is confirmed with Enter; only picks from the popup, or with the arrow
// keys or the wheel on the closed box, emit picked(). Its edit field is a
// FittingLineEdit in the box's font. Made not editable and editable again,
// the box keeps the plain QLineEdit Qt makes inside setEditable(): no
// subclass can step in there, and swapping the field afterwards would delete
// one that code has just taken from lineEdit().
class PickComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit PickComboBox(QWidget *parent = nullptr);

    void hidePopup() override;

Q_SIGNALS:
    void picked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_picking = false;
};

} // namespace lumasio::runtime
