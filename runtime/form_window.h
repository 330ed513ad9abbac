#pragma once

#include <QWidget>

namespace lumasio::runtime {

// A form's top-level window. On Windows its window menu (the title bar's
// icon, a right click on the title bar, Alt+Space) ends with "置顶(&T)":
// chosen, it keeps the window above every window that is not on top itself,
// checked while it does; chosen again, the window is ordinary again. The
// check mark follows Qt's Qt::WindowStaysOnTopHint, whoever sets it. Each
// start begins as the form's code leaves the flag, and nothing is
// remembered. Other desktops offer the same in their own window menus, which
// no program adds to.
//
// A form names Windows' faces. Where the desktop lacks the window's face and
// start-up gave it stand-ins (QFont::insertSubstitutions), the window takes
// the first installed stand-in by name as soon as its font is set, before a
// control measures text in it. Qt would draw the same face, but only after
// asking the system for the missing face's fallbacks, a search through every
// installed face, at each size and weight the form uses.
class FormWindow : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void changeEvent(QEvent *event) override;

private:
    void nameInstalledFace();

#ifdef Q_OS_WIN
protected:
    bool event(QEvent *event) override;
    // The menu's WM_SYSCOMMAND reaches the window posted (Windows' own menu),
    // sent, or handed straight to Qt's window procedure (Qt's Alt+Space
    // menu); only nativeEvent sees all three.
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void addStayOnTopItem();
    void updateStayOnTopCheckMark();
    void toggleStayOnTop();

    // The native window whose menu holds the item: a window created anew
    // (destroy() and create(), a new parent and back) has a menu without it.
    WId m_itemWindow = 0;
#endif
};

} // namespace lumasio::runtime
