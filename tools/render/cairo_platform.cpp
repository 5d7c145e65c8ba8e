// The drawing seam carried out with cairo on an image surface, drawing what
// GDI draws: aliased ellipses inscribed in the rectangle (right and bottom
// edges outside), filled with the colour and outlined one pixel black.
#include "cairo_platform.h"

#include "platform.h"

std::time_t renderClock;
std::int32_t renderScreenWidth;
std::int32_t renderScreenHeight;
std::int32_t renderTick;
std::FILE* drawLog;

namespace {

cairo_surface_t* surface;
cairo_t* context;

}  // namespace

cairo_surface_t* RenderSurface()
{
    return surface;
}

void StartFrameTimer(HWND, UINT, UINT) {}
void StopFrameTimer(HWND, UINT) {}

std::int32_t ReadScreenWidth()
{
    return renderScreenWidth;
}

std::int32_t ReadScreenHeight()
{
    return renderScreenHeight;
}

void CreateBackBuffer(HWND, std::int32_t width, std::int32_t height)
{
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    context = cairo_create(surface);
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(context, 1);
}

void ClearBackBuffer(std::int32_t width, std::int32_t height)
{
    cairo_set_source_rgb(context, 0, 0, 0);
    cairo_rectangle(context, 0, 0, width, height);
    cairo_fill(context);
}

void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top,
              std::int32_t right, std::int32_t bottom)
{
    if (drawLog != nullptr) {
        std::fprintf(drawLog, "%d %d %d %d %d %u\n", static_cast<int>(renderTick),
                     static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                     static_cast<int>(bottom), static_cast<unsigned>(colour));
    }
    // The outline's centre line runs half a pixel inside the rectangle, so the
    // one-pixel stroke covers exactly the pixels left..right-1, top..bottom-1.
    const double width = right - left;
    const double height = bottom - top;
    if (width < 1 || height < 1) {
        return;
    }
    cairo_save(context);
    cairo_translate(context, left + width / 2, top + height / 2);
    cairo_scale(context, width > 1 ? (width - 1) / 2 : 0.5, height > 1 ? (height - 1) / 2 : 0.5);
    cairo_arc(context, 0, 0, 1, 0, 6.283185307179586);
    cairo_restore(context);
    cairo_set_source_rgb(context, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         ((colour >> 16) & 0xFF) / 255.0);
    cairo_fill_preserve(context);
    cairo_set_source_rgb(context, 0, 0, 0);
    cairo_stroke(context);
}

void CopyToWindow(HWND, std::int32_t, std::int32_t)
{
    cairo_surface_flush(surface);
}

void FreeBackBuffer()
{
    cairo_destroy(context);
    cairo_surface_destroy(surface);
    context = nullptr;
    surface = nullptr;
}

std::time_t ReadClock()
{
    return renderClock;
}
