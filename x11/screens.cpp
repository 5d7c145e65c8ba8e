#include "monitor_size.h"

#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "back_buffer.h"

#include "platform.h"
#include "target_window.h"

namespace {

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

}  // namespace

MonitorSize FindMonitorSize()
{
    const int screen = DefaultScreen(display);
    MonitorSize size = {DisplayWidth(display, screen), DisplayHeight(display, screen)};
    if (!HasMonitorList()) {
        return size;
    }
    const Window root = RootWindow(display, screen);
    int centreX = 0;
    int centreY = 0;
    Window child;
    XTranslateCoordinates(display, targetWindow, root, targetWidth / 2, targetHeight / 2, &centreX, &centreY,
                          &child);
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
    int chosen = count > 0 ? 0 : -1;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& monitor = monitors[i];
        if (centreX >= monitor.x && centreX < monitor.x + monitor.width && centreY >= monitor.y &&
            centreY < monitor.y + monitor.height) {
            chosen = i;
            break;
        }
    }
    if (chosen >= 0) {
        size = {monitors[chosen].width, monitors[chosen].height};
    }
    XRRFreeMonitors(monitors);
    return size;
}

std::int32_t ChooseScale(std::int32_t asked)
{
    constexpr std::int32_t kHeightPerStep = 1080;  // pixels
    return asked > 0 ? asked : std::max(FindMonitorSize().height / kHeightPerStep, 1);
}

std::int32_t ReadScreens(HWND, ScreenSize sizes[kMaxScreens])
{
    const MonitorSize monitor = FindMonitorSize();
    sizes[0] = {monitor.width / backBufferScale[0], monitor.height / backBufferScale[0]};
    return 1;
}
