#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <ctime>
#include <map>
#include <sys/types.h>

[[nodiscard]] inline long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// When a program's window shows its settled first frame, seen from the X
// display as a person sees it: the program needs to say nothing. The frame is
// the window's last change before a quiet spell of QuietNanoseconds, so a
// window mapped blank and filled in later counts once it is filled in. A
// change over less than 1/SmallChangeShare of the window doesn't count: a
// caret blinking, or a style animating a button, which may go on for a while
// after every control is drawn.
class SettledFrame
{
public:
    static constexpr long long QuietNanoseconds = 300'000'000;
    static constexpr long SmallChangeShare = 8;

    SettledFrame();
    ~SettledFrame();
    SettledFrame(const SettledFrame &) = delete;
    SettledFrame &operator=(const SettledFrame &) = delete;

    // False without a display or its DAMAGE extension.
    [[nodiscard]] bool isOpen() const { return m_display != nullptr; }

    // Watches every top-level window mapped from now on while the program
    // runs. Returns the CLOCK_MONOTONIC time of the settled frame, or 0 when
    // the program ends or nothing settles within the time allowed.
    long long waitFor(pid_t program);

private:
    void handle(const XEvent &event, long long now);
    void forgetWindows();

    Display *m_display = nullptr;
    int m_damageEvent = 0;
    struct Watched {
        Damage damage;
        long area;
    };
    std::map<Window, Watched> m_windows;
    long long m_lastChange = 0;
};
