// The copy of each frame to the target window. What the window shows is
// composed in an image of the window's size (the picture fitted into it:
// 1:1 and centred, or scaled down when the window is smaller, black bars
// around it) and sent with one XPutImage per frame, so the window never
// shows half a frame. Only the window pixels that show what changed since
// the last copy are composed and sent; all of them after an Expose or a
// change of size. (cairo's own xlib surface is not used: cairo 1.16 leaks
// a few hundred bytes each time it composites an image onto one.)
#pragma once

// Around the frames: the X resources of the copy.
void OpenWindowCopy();
void CloseWindowCopy();

// After Expose or a change of size: the next copy repaints the whole window.
void CopyWholeWindowNext();
