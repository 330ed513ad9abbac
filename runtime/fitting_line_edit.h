#pragma once

#include <QLineEdit>

namespace lumasio::runtime {

// Shows its whole text where the box is too narrow for it in its full font,
// the font set on it with setFont or passed down from its parent: the text is
// drawn in a smaller size of the same face, never below 8 pt, and returns to
// the full size as soon as it fits again. Text too long even then scrolls as
// usual. font() tells the size the text is drawn in; a font read from it and
// set back, in points or in pixels, keeps the full size. Its size hints stay
// those of the full font, so a layout gives it the same room whatever size it
// draws in. The inner margins are trimmed to one pixel beside the frame on the
// left and the cursor's room on the right.
class FittingLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FittingLineEdit(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Trims the inner margins again once the frame is turned on or off, as
    // a combo box does to its edit field.
    void trimMargins();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] int textRoom() const;
    [[nodiscard]] QFont drawnFont() const;
    void takeSetFont();
    void fit();

    // fit() draws the text smaller by setting a font on the box, so the
    // box's own font is kept apart: the attributes its font differed in from
    // what it inherited when the text last took a smaller size. The rest, and
    // the size where the box has none of its own, follow the parent.
    QFont m_ownFont;
    // The size the text is drawn in below the full font's, else 0.
    double m_shrunkPoints = 0;
    QSize m_fullSizeHint;
    QSize m_fullMinimumSizeHint;
    // fit() is at work.
    bool m_fitting = false;
};

} // namespace lumasio::runtime
