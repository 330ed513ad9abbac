#include "form_window.h"

#include <QWindow>
#include <qt_windows.h>

namespace lumasio::runtime {

namespace {

// A window-menu command of our own: below the system's (0xF000 and up), with
// the low four bits clear, as Windows uses those for itself.
constexpr UINT StayOnTopCommand = 0x0010;

} // namespace

void FormWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Once per native window: the menu belongs to it.
    if (!m_hasStayOnTopItem && isWindow()) {
        HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, StayOnTopCommand, L"置顶(&T)");
        m_hasStayOnTopItem = true;
    }
}

bool FormWindow::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    const auto *msg = static_cast<const MSG *>(message);
    if (m_hasStayOnTopItem && eventType == "windows_generic_MSG" && msg->message == WM_SYSCOMMAND
        && (msg->wParam & 0xFFF0) == StayOnTopCommand) {
        toggleStayOnTop();
        if (result != nullptr) {
            *result = 0;
        }
        return true;
    }
    return QWidget::nativeEvent(eventType, message, result);
}

void FormWindow::toggleStayOnTop()
{
    // Through Qt, so that its idea of the window stays true: the widget takes
    // the flag without creating its window again (setWindowFlag would, and
    // the menu would lose this item), and on a shown window the windows
    // platform changes the z-order in place, with SetWindowPos(HWND_TOPMOST
    // or HWND_NOTOPMOST).
    Qt::WindowFlags flags = windowFlags();
    const bool onTop = !flags.testFlag(Qt::WindowStaysOnTopHint);
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    overrideWindowFlags(flags);
    windowHandle()->setFlags(flags);
    CheckMenuItem(GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE), StayOnTopCommand,
                  MF_BYCOMMAND | (onTop ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace lumasio::runtime
