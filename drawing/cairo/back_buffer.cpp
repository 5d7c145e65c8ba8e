#include "back_buffer.h"

#include <cstddef>

#include "cairo_disc.h"
#include "disc_runs.h"
#include "disc_stamp.h"

void (*onDiscDrawn)(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom);
std::int32_t backBufferScale[kMaxScreens] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
unsigned char* (*offerBackBufferMemory)(std::int32_t screen, std::size_t bytes);
void (*releaseBackBufferMemory)(std::int32_t screen);

namespace {

struct BackBuffer {
    cairo_surface_t* surface;
    PixelRows pixels;            // the surface's memory; 0 x 0 when there is none
    PixelBox drawnBox;           // discs drawn since the last clear, within the surface
    PixelBox clearedBox;         // blackened since the changed box was last taken
    std::int32_t scale;          // backBufferScale at creation
    std::int32_t stampWidth;     // the disc size the stamp is prepared for; -1: none yet
    std::int32_t stampHeight;
    int stampReady;              // 0: that size is drawn by cairo instead
    DiscRuns stamp;
};

BackBuffer backBuffers[kMaxScreens];

}  // namespace

cairo_surface_t* BackBufferSurface(std::int32_t screen)
{
    cairo_surface_t* surface = backBuffers[screen].surface;
    if (surface != nullptr) {
        cairo_surface_mark_dirty(surface);
    }
    return surface;
}

PixelBox TakeChangedBox(std::int32_t screen)
{
    BackBuffer& buffer = backBuffers[screen];
    const PixelBox changed = Union(buffer.clearedBox, buffer.drawnBox);
    buffer.clearedBox = kEmptyBox;
    return changed;
}

void MarkBoxDrawn(std::int32_t screen, const PixelBox& box)
{
    BackBuffer& buffer = backBuffers[screen];
    buffer.drawnBox = Union(buffer.drawnBox, Intersection(box, {0, 0, buffer.pixels.width, buffer.pixels.height}));
}

// The new surface is all black; its first clear still blackens all of it, so
// every page of its memory is in use from the start (the process's memory is
// then what it stays at for hours, also after a change of the monitors), not
// as the cloud first reaches each part of it.
void CreateBackBuffer(HWND, std::int32_t screen, std::int32_t width, std::int32_t height)
{
    BackBuffer& buffer = backBuffers[screen];
    buffer.scale = backBufferScale[screen];
    width *= buffer.scale;
    height *= buffer.scale;
    const std::int32_t stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    unsigned char* offered = offerBackBufferMemory != nullptr
                                 ? offerBackBufferMemory(screen, static_cast<std::size_t>(stride) * height)
                                 : nullptr;
    buffer.surface = offered != nullptr
                         ? cairo_image_surface_create_for_data(offered, CAIRO_FORMAT_RGB24, width, height, stride)
                         : cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    buffer.pixels = {reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(buffer.surface)),
                     cairo_image_surface_get_stride(buffer.surface) / 4, cairo_image_surface_get_width(buffer.surface),
                     cairo_image_surface_get_height(buffer.surface)};
    buffer.drawnBox = {0, 0, width, height};
    buffer.clearedBox = kEmptyBox;
    buffer.stampWidth = -1;  // the stamp's outline follows the scale
}

// Outside the discs drawn since the last clear every pixel is black already.
void ClearBackBuffer(std::int32_t screen, std::int32_t, std::int32_t)
{
    BackBuffer& buffer = backBuffers[screen];
    Blacken(buffer.pixels, buffer.drawnBox);
    buffer.clearedBox = Union(buffer.clearedBox, buffer.drawnBox);
    buffer.drawnBox = kEmptyBox;
}

void DrawDisc(std::int32_t screen, std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom)
{
    if (onDiscDrawn != nullptr) {
        onDiscDrawn(colour, left, top, right, bottom);
    }
    BackBuffer& buffer = backBuffers[screen];
    const std::int32_t scale = buffer.scale;
    left *= scale;
    top *= scale;
    right *= scale;
    bottom *= scale;
    const PixelBox onSurface = Intersection({left, top, right, bottom}, {0, 0, buffer.pixels.width, buffer.pixels.height});
    if (IsEmpty(onSurface)) {
        return;
    }
    buffer.drawnBox = Union(buffer.drawnBox, onSurface);
    if (right - left != buffer.stampWidth || bottom - top != buffer.stampHeight) {
        buffer.stampWidth = right - left;
        buffer.stampHeight = bottom - top;
        buffer.stampReady = PrepareDiscStamp(buffer.stamp, buffer.stampWidth, buffer.stampHeight, scale);
    }
    if (buffer.stampReady) {
        WriteDiscRuns(buffer.stamp, buffer.pixels, colour, left, top);
    } else {
        cairo_surface_mark_dirty(buffer.surface);
        PaintDisc(buffer.surface, colour, left, top, right, bottom, scale);
    }
}

void FreeBackBuffer(std::int32_t screen)
{
    BackBuffer& buffer = backBuffers[screen];
    cairo_surface_destroy(buffer.surface);
    buffer.surface = nullptr;
    buffer.pixels = {};
    buffer.drawnBox = kEmptyBox;
    buffer.clearedBox = kEmptyBox;
    if (releaseBackBufferMemory != nullptr) {
        releaseBackBufferMemory(screen);
    }
}
