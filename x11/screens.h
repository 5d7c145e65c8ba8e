// The screens of the target window (ReadScreens, the seam's), from the RandR
// monitors. A window that wholly covers several monitors (the bare root of a
// multi-monitor screen) has one screen per monitor it covers, the primary's
// first, each centred on its monitor. Any other (the daemon's window on one
// monitor, a preview, a window of its own) has one: the picture of the
// monitor holding the window's centre, fitted into the whole window. Each
// picture is composed at its monitor's size div its scale and shown scale
// times as large (backBufferScale).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

// --scale: 1 to 8 for every monitor; 0, each monitor's own (MonitorScale).
extern std::int32_t askedScale;

// Asks the server for the notifications of a change of the monitors' layout
// (a monitor switched on or off, moved, or given another mode).
void WatchLayoutChanges();

// Whether `event` is such a notification (Xlib's idea of the screen's size is
// brought up to date by it).
int IsLayoutChange(XEvent& event);
