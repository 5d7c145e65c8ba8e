// Discs stamped straight into a surface's pixels. A disc of one size is drawn
// once by cairo (PaintDisc) into a scratch surface and kept as runs of outline
// and fill along its rows; every disc of that size is then those runs, moved
// to its place, clipped and written with its colour. The pixels are those
// that PaintDisc puts down at the same place, except where the disc crosses
// the surface's edge: cairo closes a clipped outline with black along that
// edge, GDI and the stamp just cut the disc off.
#pragma once

#include <cstdint>

// The pixels of a cairo RGB24 image surface: 0x00RRGGBB each, rows `stride`
// pixels apart.
struct PixelRows {
    std::uint32_t* first;
    std::int32_t stride;
    std::int32_t width;
    std::int32_t height;
};

// Keeps the runs for discs of width x height pixels outlined `outline` pixels
// wide. Returns 0 when such a disc is too big to keep (then draw it with PaintDisc).
int PrepareDiscStamp(std::int32_t width, std::int32_t height, std::int32_t outline);

// A disc of the prepared size with its rectangle's top-left corner at
// (left, top); `colour` is 0x00BBGGRR.
void StampDisc(const PixelRows& target, std::uint32_t colour, std::int32_t left, std::int32_t top);
