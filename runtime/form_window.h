#pragma once

#include <QWidget>

namespace lumasio::runtime {

// A form's top-level window. On Windows its window menu (the title bar's
// icon, a right click on the title bar, Alt+Space) ends with "置顶(&T)":
// chosen, it keeps the window above every window that is not on top itself,
// checked while it does; chosen again, the window is ordinary again. Each
// start begins ordinary, and nothing is remembered. Other desktops offer the
// same in their own window menus, which no program adds to.
class FormWindow : public QWidget
{
public:
    using QWidget::QWidget;

#ifdef Q_OS_WIN
protected:
    void showEvent(QShowEvent *event) override;
    // The menu's WM_SYSCOMMAND reaches the window posted (Windows' own menu),
    // sent, or handed straight to Qt's window procedure (Qt's Alt+Space
    // menu); only nativeEvent sees all three.
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void toggleStayOnTop();

    bool m_hasStayOnTopItem = false;
#endif
};

} // namespace lumasio::runtime
