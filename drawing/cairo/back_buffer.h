// The drawing seam's back buffers carried out on cairo RGB24 image surfaces,
// one per screen, shared by vimra-render and the X11 host. Discs are stamped
// into a surface's memory; the back end keeps the box of what it has drawn,
// so a clear blackens only that box and a host copies only what changed.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "pixel_box.h"
#include "platform.h"

// Back buffer pixels per animation pixel on each screen, set by the host
// before creation (1 unless it does): the surface is k times the animation's
// size, and each disc is drawn sharp at k times its rectangle, (l, t, r, b)
// becoming (kl, kt, kr, kb), its outline k pixels wide. Boxes are in the
// surface's pixels.
extern std::int32_t backBufferScale[kMaxScreens];

// Memory for a screen's back buffer pixels that the host offers (the X11
// hack's is shared with the X server): `bytes` long, all zero (black), living
// until that screen's FreeBackBuffer gives it back; or null, and cairo
// allocates them. Null: not offered.
extern unsigned char* (*offerBackBufferMemory)(std::int32_t screen, std::size_t bytes);
// Called by FreeBackBuffer once the screen's surface is gone, for the host to
// free what it offered (if anything). Null: not called.
extern void (*releaseBackBufferMemory)(std::int32_t screen);

// The screen's back buffer between CreateBackBuffer and FreeBackBuffer, else
// null; ready to be read by cairo (what was written into its memory is marked).
cairo_surface_t* BackBufferSurface(std::int32_t screen);

// The part of the screen's back buffer that changed since the last call
// (since its creation, the first time): the discs cleared away and the discs
// drawn. Everything outside it is as it was at the last call.
PixelBox TakeChangedBox(std::int32_t screen);

// What a host drew itself into the back buffer's memory (an overlay over the
// discs), in the back buffer's pixels: the next clear blackens it and the
// changed box holds it.
void MarkBoxDrawn(std::int32_t screen, const PixelBox& box);

// Called with DrawDisc's arguments for every disc, in the animation's pixels,
// before it is drawn (vimra-render's draw log); null: nobody listens.
extern void (*onDiscDrawn)(std::uint32_t colour, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom);
