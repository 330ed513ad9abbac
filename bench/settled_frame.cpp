#include "settled_frame.h"

#include <algorithm>
#include <poll.h>
#include <sys/wait.h>

namespace {

// Top-level windows smaller than this are helpers, never a program's window.
constexpr int SmallestWindow = 64;
constexpr long long TimeAllowed = 30'000'000'000LL;

// A window may be gone by the time it is asked about: not an error here.
int ignoreErrors(Display * /*display*/, XErrorEvent * /*error*/)
{
    return 0;
}

} // namespace

SettledFrame::SettledFrame()
{
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr) {
        return;
    }
    int errorBase = 0;
    if (XDamageQueryExtension(m_display, &m_damageEvent, &errorBase) == 0) {
        XCloseDisplay(m_display);
        m_display = nullptr;
        return;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    XSync(m_display, False);
}

SettledFrame::~SettledFrame()
{
    if (m_display != nullptr) {
        forgetWindows();
        XCloseDisplay(m_display);
    }
}

long long SettledFrame::waitFor(pid_t program)
{
    forgetWindows();
    // What the last program's windows left behind.
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
    }
    m_lastChange = 0;
    const long long start = monotonicNanoseconds();
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    for (;;) {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            handle(event, monotonicNanoseconds());
        }
        const long long now = monotonicNanoseconds();
        if (m_lastChange != 0 && now - m_lastChange >= QuietNanoseconds) {
            return m_lastChange;
        }
        int status = 0;
        if (now - start > TimeAllowed || waitpid(program, &status, WNOHANG) == program) {
            return 0;
        }
        // Back at least every 50 ms to see whether the program is still there.
        long long wait = 50'000'000;
        if (m_lastChange != 0) {
            wait = std::min(wait, m_lastChange + QuietNanoseconds - now);
        }
        poll(&connection, 1, static_cast<int>(wait / 1'000'000) + 1);
    }
}

void SettledFrame::handle(const XEvent &event, long long now)
{
    if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(m_display)) {
        XWindowAttributes attributes{};
        const Window window = event.xmap.window;
        if (XGetWindowAttributes(m_display, window, &attributes) != 0
            && attributes.width >= SmallestWindow && attributes.height >= SmallestWindow
            && m_windows.count(window) == 0) {
            m_windows[window] = {XDamageCreate(m_display, window, XDamageReportRawRectangles),
                                 long{attributes.width} * attributes.height};
            // Mapped, it shows: what it was drawn with before the watch
            // began is part of this change.
            m_lastChange = now;
        }
    } else if (event.type == DestroyNotify) {
        m_windows.erase(event.xdestroywindow.window);
    } else if (event.type == m_damageEvent + XDamageNotify) {
        const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
        const auto watched = m_windows.find(damage.drawable);
        if (watched != m_windows.end()
            && long{damage.area.width} * damage.area.height * SmallChangeShare
                   >= watched->second.area) {
            m_lastChange = now;
        }
    }
}

void SettledFrame::forgetWindows()
{
    for (const auto &[window, watched] : m_windows) {
        XDamageDestroy(m_display, watched.damage);
    }
    m_windows.clear();
    XSync(m_display, False);
}
