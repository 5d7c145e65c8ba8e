// The X display and the one window the hack draws in: its own, the root
// window, the daemon's ($XSCREENSAVER_WINDOW) or another client's (by id).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "hack_options.h"

extern Display* display;
extern Window targetWindow;
extern std::int32_t targetWidth;    // pixels, kept up to date from ConfigureNotify
extern std::int32_t targetHeight;
extern Atom deleteWindowAtom;       // WM_DELETE_WINDOW, for the hack's own window
// Set once the target is known to be gone: DestroyNotify, or BadWindow
// on it.
extern int windowGone;

// Opens the display and finds or creates the target, watching it for
// exposure, size changes and destruction. Returns null, or a one-line
// reason (no newline) when there is no display, no such window, or a window
// whose pixels are not 24-bit TrueColor (8 bits each of red, green, blue).
const char* OpenTarget(const HackOptions& options);

// Destroys the hack's own window (if it still exists) and closes the display.
void CloseTarget();
