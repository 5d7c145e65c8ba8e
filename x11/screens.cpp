#include "screens.h"

#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "back_buffer.h"
#include "picture_fit.h"
#include "platform.h"
#include "target_window.h"
#include "window_copy.h"

std::int32_t askedScale;

namespace {

int randrEventBase = -1;  // RandR's first event type; -1: no RandR

// The monitors exist from RandR 1.5 on.
int HasMonitorList()
{
    int eventBase;
    int errorBase;
    int major = 0;
    int minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 5));
}

// Screen s shows a picture of `width` x `height` monitor pixels: the size in
// the animation's pixels, the scale set for its back buffer.
void SetScreen(std::int32_t screen, std::int32_t width, std::int32_t height, ScreenSize sizes[kMaxScreens])
{
    const std::int32_t scale = askedScale > 0 ? askedScale : MonitorScale(height);
    backBufferScale[screen] = scale;
    sizes[screen] = {width / scale, height / scale};
}

// The window's place on the root, read afresh (after a change of the layout
// its ConfigureNotify may not have come yet); the target's size follows it.
PixelBox ReadWindowPlace()
{
    Window root;
    Window child;
    int x = 0;
    int y = 0;
    unsigned width;
    unsigned height;
    unsigned border;
    unsigned depth;
    if (XGetGeometry(display, targetWindow, &root, &x, &y, &width, &height, &border, &depth)) {
        XTranslateCoordinates(display, targetWindow, root, 0, 0, &x, &y, &child);
        targetWidth = static_cast<std::int32_t>(width);
        targetHeight = static_cast<std::int32_t>(height);
    }
    return {x, y, x + targetWidth, y + targetHeight};
}

PixelBox BoxOf(const XRRMonitorInfo& monitor)
{
    return {monitor.x, monitor.y, monitor.x + monitor.width, monitor.y + monitor.height};
}

// The first monitor holding the window's centre, else the first; null for none.
const XRRMonitorInfo* CentralMonitor(const XRRMonitorInfo* monitors, int count, const PixelBox& window)
{
    const std::int32_t x = (window.left + window.right) / 2;
    const std::int32_t y = (window.top + window.bottom) / 2;
    for (int i = 0; i < count; ++i) {
        const PixelBox place = BoxOf(monitors[i]);
        if (x >= place.left && x < place.right && y >= place.top && y < place.bottom) {
            return &monitors[i];
        }
    }
    return count > 0 ? &monitors[0] : nullptr;
}

int Contains(const PixelBox& outer, const PixelBox& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Whether the monitor's `area` (in window pixels) overlaps a screen's already.
int Overlaps(const PixelBox& area, std::int32_t screens)
{
    for (std::int32_t screen = 0; screen < screens; ++screen) {
        if (!IsEmpty(Intersection(area, screenAreas[screen]))) {
            return 1;
        }
    }
    return 0;
}

// A screen for each monitor wholly in the window, centred on it: the primary
// first (Xorg lists it first anyway), then the others as listed, leaving out
// a monitor over a place that one before it shows (a mirrored one). Returns
// how many.
std::int32_t CoverMonitors(const XRRMonitorInfo* monitors, int count, const PixelBox& window,
                           ScreenSize sizes[kMaxScreens])
{
    std::int32_t covered = 0;
    for (int primaryPass = 1; primaryPass >= 0; --primaryPass) {
        for (int i = 0; i < count && covered < kMaxScreens; ++i) {
            const PixelBox place = BoxOf(monitors[i]);
            const PixelBox area = {place.left - window.left, place.top - window.top, place.right - window.left,
                                   place.bottom - window.top};
            if ((monitors[i].primary != 0) == primaryPass && Contains(window, place) && !Overlaps(area, covered)) {
                SetScreen(covered, monitors[i].width, monitors[i].height, sizes);
                screenAreas[covered++] = area;
            }
        }
    }
    return covered;
}

}  // namespace

void WatchLayoutChanges()
{
    int errorBase;
    if (XRRQueryExtension(display, &randrEventBase, &errorBase)) {
        XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
    } else {
        randrEventBase = -1;
    }
}

int IsLayoutChange(XEvent& event)
{
    if (randrEventBase < 0 ||
        (event.type != randrEventBase + RRScreenChangeNotify && event.type != randrEventBase + RRNotify)) {
        return 0;
    }
    XRRUpdateConfiguration(&event);
    return 1;
}

std::int32_t ReadScreens(HWND, ScreenSize sizes[kMaxScreens])
{
    const PixelBox window = ReadWindowPlace();
    int count = 0;
    XRRMonitorInfo* monitors =
        HasMonitorList() ? XRRGetMonitors(display, DefaultRootWindow(display), True, &count) : nullptr;
    screenAreaCount = CoverMonitors(monitors, count, window, sizes);
    if (screenAreaCount < 2) {
        // One picture, of the monitor at the window's centre (the screen's
        // size where the server lists none), fitted into the whole window.
        screenAreaCount = 0;
        const XRRMonitorInfo* monitor = CentralMonitor(monitors, count, window);
        const int screen = DefaultScreen(display);
        SetScreen(0, monitor != nullptr ? monitor->width : DisplayWidth(display, screen),
                  monitor != nullptr ? monitor->height : DisplayHeight(display, screen), sizes);
    }
    if (monitors != nullptr) {
        XRRFreeMonitors(monitors);
    }
    return std::max(screenAreaCount, 1);
}
