#pragma once

#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace lumasio::window {

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

// An editable combo box that tells a real pick of a list item apart from
// typed text. QComboBox also emits activated() when typed text matching an
// item is confirmed with Enter; only picks from the popup, or with the arrow
// keys or the wheel on the closed box, emit picked().
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
    Q_INVOKABLE void endPick();

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

} // namespace lumasio::window
