// The copy of each frame to the target window: one XPutImage per frame, so
// the window never shows half a frame, of only the window pixels that show
// what changed since the last copy. The picture is fitted into the window:
// 1:1 and centred, or scaled down when the window is smaller, black bars
// around it. At 1:1 the changed pixels go straight from the back buffer
// (after an Expose or a change of size all of it, the bars filled black);
// scaled, they are first composed in an image of the window's size (after
// an Expose or a change of size the whole window, bars and all).
// Both images live in memory shared with the X server where it can (see
// shared_memory.h): one XShmPutImage a frame, awaited before the next frame
// is drawn; else XPutImage through the socket, the same pixels.
// (cairo's own xlib surface is not used: cairo 1.16 leaks a few hundred
// bytes each time it composites an image onto one.)
#pragma once

// Around the frames: the X resources of the copy. Opening offers the back
// end shared memory for its back buffer; closing, after FreeBackBuffer, frees it.
void OpenWindowCopy();
void CloseWindowCopy();

// After Expose or a change of size: the next copy repaints the whole window.
void CopyWholeWindowNext();
