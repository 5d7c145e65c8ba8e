// The copy of each screen's frame to the target window: one XPutImage per
// screen and frame, so a monitor never shows half a frame, of only the
// window pixels that show what changed since that screen's last copy. Each
// screen's picture is fitted into its area of the window: 1:1 and centred,
// or scaled down when the area is smaller. At 1:1 the changed pixels go
// straight from the back buffer; scaled, they are first composed in an
// image of the window's size. After an Expose or a change of size every
// picture is copied whole and everything of the window around them is
// filled black (once, not under the pictures, so nothing flickers).
// Each back buffer and the window image live in memory shared with the X
// server where it can (see shared_memory.h): one XShmPutImage a copy,
// awaited before the buffer is drawn into again; else XPutImage through
// the socket, the same pixels.
// (cairo's own xlib surface is not used: cairo 1.16 leaks a few hundred
// bytes each time it composites an image onto one.)
#pragma once

#include <cstdint>

#include "pixel_box.h"
#include "platform.h"

// The part of the window that each screen's picture is fitted into, in
// window pixels, set with the screens; screenAreaCount 0: one screen, and
// its area the whole window, whatever its size.
extern PixelBox screenAreas[kMaxScreens];
extern std::int32_t screenAreaCount;

// Around the frames: the X resources of the copy. Opening offers the back
// end shared memory for its back buffers (freed as each is freed).
void OpenWindowCopy();
void CloseWindowCopy();

// After Expose, a change of size or new screens: the next copies repaint the
// whole window.
void CopyWholeWindowNext();
