#include "disc_stamp.h"

#include <cairo.h>

#include <algorithm>

#include "cairo_disc.h"
#include "disc_runs.h"

namespace {

std::uint32_t scratch[kMaxDiscSide * kMaxDiscSide];

}  // namespace

int PrepareDiscStamp(DiscRuns& stamp, std::int32_t width, std::int32_t height, std::int32_t outline)
{
    if (width > kMaxDiscSide || height > kMaxDiscSide) {
        return 0;
    }
    std::fill(scratch, scratch + kMaxDiscSide * kMaxDiscSide, kScratchOutside);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(scratch), CAIRO_FORMAT_RGB24, kMaxDiscSide, kMaxDiscSide,
        kMaxDiscSide * static_cast<std::int32_t>(sizeof scratch[0]));
    // Red, 0x000000FF as 0x00BBGGRR: kScratchFill once in the surface.
    PaintDisc(surface, 0x0000FF, 0, 0, width, height, outline);
    cairo_surface_destroy(surface);
    return KeepDiscRuns(stamp, {scratch, kMaxDiscSide, kMaxDiscSide, kMaxDiscSide}, std::max(width, 0),
                        std::max(height, 0));
}
