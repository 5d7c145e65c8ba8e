#include "frame_loop.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <ctime>

#include "fps_overlay.h"
#include "monotonic_clock.h"
#include "platform.h"
#include "saver_proc.h"
#include "screens.h"
#include "stop_signals.h"
#include "target_window.h"
#include "window_copy.h"

namespace {

UINT timerId;
Nanoseconds timerPeriod;   // 0: the timer is stopped
// The monitors' layout changed since the last frame. One change (an xrandr
// command) is several notifications that may come in several reads: the
// screens are read again once, just before the next frame.
int layoutChanged;

// Returns 1 when the event ends the hack.
int HandleEvent(XEvent& event)
{
    switch (event.type) {
    case Expose:
        CopyWholeWindowNext();
        return 0;
    case ConfigureNotify:
        if (event.xconfigure.window == targetWindow) {
            targetWidth = event.xconfigure.width;
            targetHeight = event.xconfigure.height;
            CopyWholeWindowNext();
        }
        return 0;
    case DestroyNotify:
        if (event.xdestroywindow.window == targetWindow) {
            windowGone = 1;
        }
        return windowGone;
    case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        return key == XK_Escape || key == XK_q;
    }
    case ClientMessage:
        return static_cast<Atom>(event.xclient.data.l[0]) == deleteWindowAtom;
    default:
        layoutChanged |= IsLayoutChange(event);
        return 0;
    }
}

// Handles every event that has arrived. Returns 1 when one ends the hack.
int HandlePendingEvents()
{
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (HandleEvent(event)) {
            return 1;
        }
    }
    return 0;
}

// Sleeps until the X connection has input, a stop signal comes or the
// deadline passes (no deadline while the timer is stopped); the time spent
// waiting is what the frame-rate overlay's load leaves out.
void WaitUntil(Nanoseconds deadline, Nanoseconds now)
{
    pollfd connection = {ConnectionNumber(display), POLLIN, 0};
    const Nanoseconds left = deadline - now;
    const timespec timeout = {static_cast<std::time_t>(left / kPerSecond), static_cast<long>(left % kPerSecond)};
    ppoll(&connection, 1, timerPeriod > 0 ? &timeout : nullptr, WaitingSignalMask());
    CountWaitingTime(MonotonicNow() - now);
}

}  // namespace

void StartFrameTimer(HWND, UINT id, UINT periodMs)
{
    timerId = id;
    timerPeriod = periodMs * kPerMillisecond;
}

void StopFrameTimer(HWND, UINT)
{
    timerPeriod = 0;
}

void RunFrameLoop(HWND window)
{
    Nanoseconds deadline = MonotonicNow() + timerPeriod;
    while (!HandlePendingEvents()) {
        // It waits even when a tick is already due (a frame took longer than
        // the period, the machine is busy): only while it waits do the stop
        // signals get through.
        const Nanoseconds now = MonotonicNow();
        WaitUntil(std::max(deadline, now), now);
        if (stopRequested || windowGone) {
            return;
        }
        const Nanoseconds woken = MonotonicNow();
        if (timerPeriod > 0 && woken >= deadline) {
            if (layoutChanged) {
                layoutChanged = 0;
                SaverProc(window, WM_DISPLAYCHANGE, 0, 0);
                CopyWholeWindowNext();
            }
            SaverProc(window, WM_TIMER, timerId, 0);
            deadline += timerPeriod * ((woken - deadline) / timerPeriod + 1);
        }
    }
}
