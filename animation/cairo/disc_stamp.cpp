#include "disc_stamp.h"

#include <cairo.h>

#include <algorithm>
#include <cstddef>

#include "cairo_disc.h"

namespace {

constexpr std::int32_t kMaxSide = 128;             // pixels: a 16-pixel disc at scale 8
constexpr std::int32_t kMaxRuns = 4 * kMaxSide;    // an ellipse has at most three a row
// The scratch drawing's three kinds of pixel (0x00RRGGBB, the unused byte masked off).
constexpr std::uint32_t kOutside = 0xFFFFFF;
constexpr std::uint32_t kFill = 0xFF0000;          // PaintDisc's red, 0x000000FF as 0x00BBGGRR
constexpr std::uint32_t kOutline = 0x000000;

struct Run {
    std::int32_t row;
    std::int32_t begin;  // first pixel of the run
    std::int32_t end;    // pixel after the last
    std::int32_t fill;   // 1: the disc's colour; 0: the black outline
};

std::uint32_t scratch[kMaxSide * kMaxSide];
Run runs[kMaxRuns];
std::int32_t runCount;

// Reads the scratch drawing of a width x height disc into runs. Returns 0
// when there are too many or a pixel is neither outside, fill nor outline.
int CollectRuns(std::int32_t width, std::int32_t height)
{
    runCount = 0;
    for (std::int32_t y = 0; y < height; ++y) {
        std::int32_t x = 0;
        while (x < width) {
            const std::uint32_t kind = scratch[y * kMaxSide + x] & 0xFFFFFF;
            std::int32_t end = x + 1;
            while (end < width && (scratch[y * kMaxSide + end] & 0xFFFFFF) == kind) {
                ++end;
            }
            if (kind == kFill || kind == kOutline) {
                if (runCount == kMaxRuns) {
                    return 0;
                }
                runs[runCount++] = {y, x, end, kind == kFill ? 1 : 0};
            } else if (kind != kOutside) {
                return 0;
            }
            x = end;
        }
    }
    return 1;
}

}  // namespace

int PrepareDiscStamp(std::int32_t width, std::int32_t height, std::int32_t outline)
{
    if (width > kMaxSide || height > kMaxSide) {
        return 0;
    }
    std::fill(scratch, scratch + kMaxSide * kMaxSide, kOutside);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(scratch), CAIRO_FORMAT_RGB24, kMaxSide, kMaxSide,
        kMaxSide * static_cast<std::int32_t>(sizeof scratch[0]));
    PaintDisc(surface, 0x0000FF, 0, 0, width, height, outline);
    cairo_surface_destroy(surface);
    return CollectRuns(std::max(width, 0), std::max(height, 0));
}

void StampDisc(const PixelRows& target, std::uint32_t colour, std::int32_t left, std::int32_t top)
{
    const std::uint32_t fill = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    for (std::int32_t i = 0; i < runCount; ++i) {
        const Run& run = runs[i];
        const std::int32_t y = top + run.row;
        if (y < 0 || y >= target.height) {
            continue;
        }
        const std::int32_t begin = std::max(left + run.begin, 0);
        const std::int32_t end = std::min(left + run.end, target.width);
        if (begin < end) {
            std::uint32_t* row = target.first + static_cast<std::ptrdiff_t>(y) * target.stride;
            std::fill(row + begin, row + end, run.fill ? fill : 0);
        }
    }
}
