#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace lumasio::runtime {

// A label that reports a click, so it can serve as a link.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// Shows its whole text where the box is too narrow for it in its full font,
// the font set on it with setFont or passed down from its parent: the text is
// drawn in a smaller size of the same face, never below 8 pt, and returns to
// the full size as soon as it fits again. Text too long even then scrolls as
// usual. Its size hints stay those of the full font, so a layout gives it the
// same room whatever size it draws in. The inner margins are trimmed to one
// pixel beside the frame on the left and the cursor's room on the right.
class FittingLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FittingLineEdit(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    [[nodiscard]] QFont fullFont() const;
    [[nodiscard]] QFont drawnFont() const;
    void fit();
    void showFullFont();
    void setFittedFont(const QFont &font);

    // fit() draws the text smaller by setting a font on the box, so the
    // box's own font is kept apart: the attributes its font differed in from
    // what it inherited when the text last took a smaller size. The rest, and
    // the size where the box has none of its own, follow the parent.
    QFont m_ownFont;
    // The size the text is drawn in below the full font's, else 0.
    double m_shrunkPoints = 0;
    // The full font the text was last measured against, and its size hints.
    QFont m_fullFont;
    QSize m_fullSizeHint;
    QSize m_fullMinimumSizeHint;
    // fit() is setting the font, which is no new full font.
    bool m_fitting = false;
};

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
