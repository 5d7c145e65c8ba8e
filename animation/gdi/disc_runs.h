// Discs written straight into a 32-bit DIB section's pixels. A disc of one
// size is drawn once by GDI's own Ellipse (a solid brush, the default black
// pen) into a scratch DIB section and kept as runs of outline and fill along
// its rows; every disc of that size is then those runs, moved to its place,
// clipped to the target and written with its colour: the very pixels that
// Ellipse puts down there, as GDI cuts off a disc that crosses the edge.
#pragma once

#include <cstdint>

#include "../cairo/pixel_box.h"

// A top-down 32-bit DIB section's pixels: 0x00RRGGBB each, rows `stride`
// pixels apart.
struct DibPixels {
    std::uint32_t* first;
    std::int32_t stride;
    std::int32_t width;
    std::int32_t height;
};

// Keeps the runs for discs of width x height pixels. Returns 0 when such a
// disc is not kept (empty, too big or not a plain disc): draw it with GDI.
int PrepareDiscRuns(std::int32_t width, std::int32_t height);

// A disc of the prepared size with its rectangle's top-left corner at
// (left, top); `colour` is 0x00BBGGRR. Returns the part of the target that
// the disc's runs span (empty when they miss it).
PixelBox WriteDiscRuns(const DibPixels& target, std::uint32_t colour, std::int32_t left, std::int32_t top);
