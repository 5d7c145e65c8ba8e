#include "cairo_disc.h"

#include <algorithm>

void PaintDisc(cairo_surface_t* target, std::uint32_t colour, std::int32_t left, std::int32_t top,
               std::int32_t right, std::int32_t bottom, std::int32_t outline)
{
    // The outline's centre line runs half its width inside the rectangle, so
    // the stroke covers exactly the pixels left..right-1, top..bottom-1. A disc
    // no wider than its outline keeps a radius of half the outline.
    const double width = right - left;
    const double height = bottom - top;
    const double line = outline;
    if (width < 1 || height < 1) {
        return;
    }
    cairo_t* context = cairo_create(target);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(context, line);
    cairo_translate(context, left + width / 2, top + height / 2);
    cairo_scale(context, std::max(width - line, line) / 2, std::max(height - line, line) / 2);
    cairo_arc(context, 0, 0, 1, 0, 6.283185307179586);
    cairo_identity_matrix(context);
    cairo_set_source_rgb(context, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
    cairo_fill_preserve(context);
    cairo_set_source_rgb(context, 0, 0, 0);
    cairo_stroke(context);
    cairo_destroy(context);
    cairo_surface_flush(target);
}
