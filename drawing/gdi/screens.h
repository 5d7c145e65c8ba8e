// The screens of a saver window on Windows. Full screen, one per monitor: its
// picture composed for the monitor's size div its scale k (the monitor's
// height div 1080, at least 1), shown k times as large and centred on the
// monitor. A preview pane, and a system without the monitor functions
// (Windows 95, NT 4), show one: the primary monitor's picture at scale 1.
// All sizes in physical pixels: the program's manifest declares it aware of
// every monitor's DPI, so the system neither scales its coordinates nor
// enlarges its picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform.h"

struct ScreenPlace {
    std::int32_t left;   // the picture's top-left corner on the window's client area
    std::int32_t top;
    std::int32_t scale;  // window pixels per animation pixel
};

// Set by ReadScreens for each screen it answers.
extern ScreenPlace screenPlaces[kMaxScreens];

// user32's EnumDisplayMonitors, looked up when the program starts (Windows 98
// and 2000 have it, 95 and NT 4 do not), so that the program loads without
// it; null where it is missing, and so in the tests of that fallback.
typedef BOOL(WINAPI* EnumDisplayMonitorsProc)(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data);
extern EnumDisplayMonitorsProc enumDisplayMonitors;
