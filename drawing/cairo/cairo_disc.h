// One disc drawn by cairo itself, the way GDI's Ellipse draws it: the ellipse
// inscribed in the rectangle (right and bottom edges outside), aliased, filled
// with the colour and outlined by a solid black line `outline` pixels wide
// (one for GDI's picture; k for that picture drawn k times as large).
#pragma once

#include <cairo.h>

#include <cstdint>

// `colour` is 0x00BBGGRR. A rectangle less than a pixel wide or high draws nothing.
void PaintDisc(cairo_surface_t* target, std::uint32_t colour, std::int32_t left, std::int32_t top,
               std::int32_t right, std::int32_t bottom, std::int32_t outline);
