#include "stay_on_top.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include <qt_windows.h>

namespace lumasio::runtime {

namespace {

// A window-menu command of our own: below the system's (0xF000 and up), with
// the low four bits clear, as Windows uses those for itself.
constexpr UINT StayOnTopCommand = 0x0010;

// Watches the WM_SYSCOMMAND that the window menu posts when the item is
// chosen (a posted message reaches the application's native event filters;
// the window's own nativeEvent would need a subclass of the form). Owned by
// the window, so it stops watching when the window goes.
class StayOnTopItem : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit StayOnTopItem(QWidget &window)
        : QObject(&window)
        , m_widget(window)
    {
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, StayOnTopCommand, L"置顶(&T)");
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~StayOnTopItem() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    StayOnTopItem(const StayOnTopItem &) = delete;
    StayOnTopItem &operator=(const StayOnTopItem &) = delete;
    StayOnTopItem(StayOnTopItem &&) = delete;
    StayOnTopItem &operator=(StayOnTopItem &&) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        const auto *msg = static_cast<const MSG *>(message);
        if (eventType != "windows_generic_MSG" || msg->hwnd != hwnd()
            || msg->message != WM_SYSCOMMAND || (msg->wParam & 0xFFF0) != StayOnTopCommand) {
            return false;
        }
        toggle();
        // The event dispatcher, which sees posted messages, passes no result.
        if (result != nullptr) {
            *result = 0;
        }
        return true;
    }

private:
    [[nodiscard]] HWND hwnd() const { return reinterpret_cast<HWND>(m_widget.winId()); }

    void toggle()
    {
        // Through Qt, so that its idea of the window stays true: the widget
        // takes the flag without creating its window again (which would lose
        // this item), and on a shown window the windows platform changes the
        // z-order in place, with SetWindowPos(HWND_TOPMOST or NOTOPMOST).
        Qt::WindowFlags flags = m_widget.windowFlags();
        const bool onTop = !flags.testFlag(Qt::WindowStaysOnTopHint);
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
        m_widget.overrideWindowFlags(flags);
        m_widget.windowHandle()->setFlags(flags);
        CheckMenuItem(GetSystemMenu(hwnd(), FALSE), StayOnTopCommand,
                      MF_BYCOMMAND | (onTop ? MF_CHECKED : MF_UNCHECKED));
    }

    QWidget &m_widget;
};

} // namespace

void addStayOnTopItem(QWidget &window)
{
    new StayOnTopItem(window);
}

} // namespace lumasio::runtime
