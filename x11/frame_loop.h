// The hack's message loop: the frame timer's ticks on absolute deadlines of
// the monotonic clock, the X events of the target window in between, and the
// stop signals. Ticks keep their rhythm: one that comes late is handled at
// once, and the ticks that fell due meanwhile are skipped, not caught up.
#pragma once

#include "window_types.h"

// Runs until a stop signal, the target's destruction, or (for the hack's own
// window) the window manager's close, Escape or q.
void RunFrameLoop(HWND window);
