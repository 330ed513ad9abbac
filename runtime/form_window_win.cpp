#include "form_window.h"

#include <QEvent>
#include <QWindow>
#include <qt_windows.h>

namespace lumasio::runtime {

namespace {

// A window-menu command of our own: below the system's (0xF000 and up), with
// the low four bits clear, as Windows uses those for itself.
constexpr UINT StayOnTopCommand = 0x0010;

// A WId on Windows is the window's HWND, held as an integer.
[[nodiscard]] HWND nativeWindow(WId id)
{
    return reinterpret_cast<HWND>(id); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

bool FormWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::WinIdChange:
        addStayOnTopItem();
        break;
    // Qt's flag may have changed since the menu last showed it: set before
    // the window was shown, or changed and the window shown again.
    case QEvent::Show:
        updateStayOnTopCheckMark();
        break;
    default:
        break;
    }
    return handled;
}

// Once per native window: the menu belongs to it. A window without a window
// menu (no title bar, a child) simply goes without the item.
void FormWindow::addStayOnTopItem()
{
    m_itemWindow = 0;
    HWND hwnd = nativeWindow(internalWinId());
    if (!isWindow() || hwnd == nullptr) {
        return;
    }
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr) {
        return;
    }
    // Qt may report the same native window again (a change of flags keeps
    // it), whose menu has the item already.
    const bool present = GetMenuState(menu, StayOnTopCommand, MF_BYCOMMAND) != UINT(-1);
    if (!present
        && (AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) == FALSE
            || AppendMenuW(menu, MF_STRING, StayOnTopCommand, L"置顶(&T)") == FALSE)) {
        return;
    }
    m_itemWindow = internalWinId();
    updateStayOnTopCheckMark();
}

void FormWindow::updateStayOnTopCheckMark()
{
    if (m_itemWindow == 0 || m_itemWindow != internalWinId()) {
        return;
    }
    const bool onTop = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    CheckMenuItem(GetSystemMenu(nativeWindow(m_itemWindow), FALSE), StayOnTopCommand,
                  MF_BYCOMMAND | (onTop ? MF_CHECKED : MF_UNCHECKED));
}

bool FormWindow::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    const auto *msg = static_cast<const MSG *>(message);
    if (eventType != "windows_generic_MSG" || m_itemWindow == 0
        || reinterpret_cast<quintptr>(msg->hwnd) != m_itemWindow) {
        return QWidget::nativeEvent(eventType, message, result);
    }
    // The menu opens showing Qt's flag as it is now, however it was set.
    if (msg->message == WM_INITMENUPOPUP) {
        updateStayOnTopCheckMark();
    }
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == StayOnTopCommand) {
        toggleStayOnTop();
        // A posted message comes with no result to fill in.
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
    // the window would blink), and on a shown window the windows platform
    // changes the z-order in place, with SetWindowPos(HWND_TOPMOST or
    // HWND_NOTOPMOST).
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, !flags.testFlag(Qt::WindowStaysOnTopHint));
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle()) {
        window->setFlags(flags);
    }
    updateStayOnTopCheckMark();
}

} // namespace lumasio::runtime
