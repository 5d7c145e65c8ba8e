#include "back_buffer.h"

#include <cstddef>

#include "cairo_disc.h"
#include "disc_runs.h"
#include "disc_stamp.h"
#include "platform.h"

void (*onDiscDrawn)(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom);
std::int32_t backBufferScale = 1;
unsigned char* (*offerBackBufferMemory)(std::size_t bytes);

namespace {

cairo_surface_t* surface;
PixelRows pixels;        // the surface's memory; 0 x 0 when there is none
PixelBox drawnBox;       // discs drawn since the last clear, within the surface
PixelBox clearedBox;     // blackened since the changed box was last taken
std::int32_t stampWidth = -1;   // the disc size the stamp is prepared for
std::int32_t stampHeight = -1;
int stampReady;                 // 0: that size is drawn by cairo instead

}  // namespace

cairo_surface_t* BackBufferSurface()
{
    if (surface != nullptr) {
        cairo_surface_mark_dirty(surface);
    }
    return surface;
}

PixelBox TakeChangedBox()
{
    const PixelBox changed = Union(clearedBox, drawnBox);
    clearedBox = kEmptyBox;
    return changed;
}

void MarkBoxDrawn(const PixelBox& box)
{
    drawnBox = Union(drawnBox, Intersection(box, {0, 0, pixels.width, pixels.height}));
}

// The new surface is all black, so nothing needs clearing yet.
void CreateBackBuffer(HWND, std::int32_t width, std::int32_t height)
{
    width *= backBufferScale;
    height *= backBufferScale;
    const std::int32_t stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    unsigned char* offered =
        offerBackBufferMemory != nullptr ? offerBackBufferMemory(static_cast<std::size_t>(stride) * height) : nullptr;
    surface = offered != nullptr
                  ? cairo_image_surface_create_for_data(offered, CAIRO_FORMAT_RGB24, width, height, stride)
                  : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    pixels = {reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)),
              cairo_image_surface_get_stride(surface) / 4, cairo_image_surface_get_width(surface),
              cairo_image_surface_get_height(surface)};
    drawnBox = kEmptyBox;
    clearedBox = kEmptyBox;
    stampWidth = -1;  // the stamp's outline follows the scale
}

// Outside the discs drawn since the last clear every pixel is black already.
void ClearBackBuffer(std::int32_t, std::int32_t)
{
    Blacken(pixels, drawnBox);
    clearedBox = Union(clearedBox, drawnBox);
    drawnBox = kEmptyBox;
}

void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom)
{
    if (onDiscDrawn != nullptr) {
        onDiscDrawn(colour, left, top, right, bottom);
    }
    left *= backBufferScale;
    top *= backBufferScale;
    right *= backBufferScale;
    bottom *= backBufferScale;
    const PixelBox onSurface = Intersection({left, top, right, bottom}, {0, 0, pixels.width, pixels.height});
    if (IsEmpty(onSurface)) {
        return;
    }
    drawnBox = Union(drawnBox, onSurface);
    if (right - left != stampWidth || bottom - top != stampHeight) {
        stampWidth = right - left;
        stampHeight = bottom - top;
        stampReady = PrepareDiscStamp(stampWidth, stampHeight, backBufferScale);
    }
    if (stampReady) {
        WriteDiscRuns(pixels, colour, left, top);
    } else {
        cairo_surface_mark_dirty(surface);
        PaintDisc(surface, colour, left, top, right, bottom, backBufferScale);
    }
}

void FreeBackBuffer()
{
    cairo_surface_destroy(surface);
    surface = nullptr;
    pixels = {};
    drawnBox = kEmptyBox;
    clearedBox = kEmptyBox;
}
