#include "screens.h"

#include "picture_fit.h"

ScreenPlace screenPlaces[kMaxScreens];
EnumDisplayMonitorsProc enumDisplayMonitors = reinterpret_cast<EnumDisplayMonitorsProc>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "EnumDisplayMonitors")));

namespace {

// The desktop's monitors in its coordinates, the primary's first; more than
// kMaxScreens show nothing.
struct Monitors {
    RECT rects[kMaxScreens];
    std::int32_t count;  // slot 0 is the primary's, filled or not
    int primaryFound;
};

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data)
{
    Monitors& monitors = *reinterpret_cast<Monitors*>(data);
    // The primary monitor's top-left corner is the desktop's origin.
    if (rect->left == 0 && rect->top == 0 && !monitors.primaryFound) {
        monitors.rects[0] = *rect;
        monitors.primaryFound = 1;
    } else if (monitors.count < kMaxScreens) {
        monitors.rects[monitors.count++] = *rect;
    }
    return TRUE;
}

}  // namespace

std::int32_t ReadScreens(HWND window, ScreenSize sizes[kMaxScreens])
{
    RECT placed;
    GetWindowRect(window, &placed);
    Monitors monitors = {};
    monitors.count = 1;
    const bool fullScreen = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0;
    if (fullScreen && enumDisplayMonitors != nullptr) {
        enumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    }
    if (!monitors.primaryFound) {
        sizes[0] = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        screenPlaces[0] = {-placed.left, -placed.top, 1};
        return 1;
    }
    for (std::int32_t screen = 0; screen < monitors.count; ++screen) {
        const RECT& monitor = monitors.rects[screen];
        const std::int32_t width = monitor.right - monitor.left;
        const std::int32_t height = monitor.bottom - monitor.top;
        const std::int32_t scale = MonitorScale(height);
        sizes[screen] = {width / scale, height / scale};
        // What the whole steps leave over is shared out on both sides.
        screenPlaces[screen] = {monitor.left - placed.left + (width - scale * sizes[screen].width) / 2,
                                monitor.top - placed.top + (height - scale * sizes[screen].height) / 2, scale};
    }
    return monitors.count;
}
