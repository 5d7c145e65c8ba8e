// The drawing seam's back buffer carried out on a cairo RGB24 image surface,
// shared by vimra-render and the X11 host. Discs are stamped into the
// surface's memory; the back end keeps the box of what it has drawn, so a
// clear blackens only that box and a host copies only what changed.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "pixel_box.h"

// The back buffer between CreateBackBuffer and FreeBackBuffer, else null;
// ready to be read by cairo (what was written into its memory is marked).
cairo_surface_t* BackBufferSurface();

// The part of the back buffer that changed since the last call (since its
// creation, the first time): the discs cleared away and the discs drawn.
// Everything outside it is as it was at the last call.
PixelBox TakeChangedBox();

// What a host drew itself into the back buffer's memory (an overlay over the
// discs): the next clear blackens it and the changed box holds it.
void MarkBoxDrawn(const PixelBox& box);

// Called with DrawDisc's arguments for every disc, before it is drawn
// (vimra-render's draw log); null: nobody listens.
extern void (*onDiscDrawn)(std::uint32_t colour, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom);
