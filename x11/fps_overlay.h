// --fps: two lines in the back buffer's bottom-left corner, 10 pixels from
// its edges, over each frame's discs just before the copy:
//   FPS: 20.0   frames copied a second
//   Load: 4%    the share of wall time the frame loop did not spend waiting
// both measured over a second and updated once a second (nothing is shown
// before the first second is measured). A built-in 5 x 7 dot font keeps the
// text sharp on every machine, fonts installed or not; each dot is 2 x 2
// pixels of the picture.
#pragma once

#include "monotonic_clock.h"

extern int fpsOverlayShown;  // 1: drawn on every frame

// From the frame loop: time it spent waiting for the next tick or an event.
void CountWaitingTime(Nanoseconds waited);

// Counts a frame and, when shown, draws the lines into the back buffer and
// marks what they cover as drawn, so they travel in the frame's copy and the
// next clear blackens them.
void DrawFpsOverlay();
