#include "fps_overlay.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "back_buffer.h"
#include "pixel_rows.h"

int fpsOverlayShown;

namespace {

constexpr std::int32_t kMargin = 10;       // picture pixels from the left and bottom edges
constexpr std::int32_t kDot = 2;           // picture pixels per dot of the font
constexpr std::int32_t kGlyphWidth = 5;    // dots
constexpr std::int32_t kGlyphHeight = 7;
constexpr std::int32_t kAdvance = 6;       // dots from one glyph to the next
constexpr std::int32_t kLineAdvance = 10;  // dots from one line to the next
constexpr std::uint32_t kTextColour = 0xFFFFFF;

// Each row's dots from the left in bits 4 to 0.
struct Glyph {
    char character;
    std::uint8_t rows[kGlyphHeight];
};

constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}}, {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {'d', {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
};

Nanoseconds secondStart = -1;  // -1: no frame counted yet
Nanoseconds waitedThisSecond;
int framesThisSecond;
char lines[2][16];             // empty until the first second is measured

// Null for a character the font lacks (a space).
const Glyph* FindGlyph(char character)
{
    for (const Glyph& glyph : kFont) {
        if (glyph.character == character) {
            return &glyph;
        }
    }
    return nullptr;
}

// A frame counted; at the end of each second the lines rewritten.
void CountFrame()
{
    const Nanoseconds now = MonotonicNow();
    if (secondStart < 0) {
        secondStart = now;
        waitedThisSecond = 0;
        return;
    }
    ++framesThisSecond;
    const Nanoseconds elapsed = now - secondStart;
    if (elapsed < kPerSecond) {
        return;
    }
    const Nanoseconds busy = elapsed > waitedThisSecond ? elapsed - waitedThisSecond : 0;
    std::snprintf(lines[0], sizeof lines[0], "FPS: %.1f", framesThisSecond * 1e9 / elapsed);
    std::snprintf(lines[1], sizeof lines[1], "Load: %d%%", static_cast<int>(100 * busy / elapsed));
    secondStart = now;
    waitedThisSecond = 0;
    framesThisSecond = 0;
}

// `text` with its glyphs' top-left dot at (left, top), `dot` pixels a dot.
void DrawLine(const PixelRows& pixels, const char* text, std::int32_t left, std::int32_t top, std::int32_t dot)
{
    for (; *text != '\0'; ++text, left += kAdvance * dot) {
        const Glyph* glyph = FindGlyph(*text);
        for (std::int32_t y = 0; glyph != nullptr && y < kGlyphHeight * dot; ++y) {
            std::uint32_t* row = pixels.first + static_cast<std::ptrdiff_t>(top + y) * pixels.stride;
            for (std::int32_t x = 0; x < kGlyphWidth * dot; ++x) {
                if (glyph->rows[y / dot] & (0x10 >> (x / dot))) {
                    row[left + x] = kTextColour;
                }
            }
        }
    }
}

}  // namespace

void CountWaitingTime(Nanoseconds waited)
{
    waitedThisSecond += waited;
}

void DrawFpsOverlay()
{
    CountFrame();
    cairo_surface_t* surface = BackBufferSurface(0);
    if (!fpsOverlayShown || lines[0][0] == '\0' || surface == nullptr) {
        return;
    }
    const PixelRows pixels = {reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)),
                              cairo_image_surface_get_stride(surface) / 4, cairo_image_surface_get_width(surface),
                              cairo_image_surface_get_height(surface)};
    // The back buffer holds the picture `scale` times as large.
    const std::int32_t scale = backBufferScale[0];
    const std::int32_t dot = kDot * scale;
    const PixelBox box = {kMargin * scale, pixels.height - kMargin * scale - (kLineAdvance + kGlyphHeight) * dot,
                          kMargin * scale + static_cast<std::int32_t>(sizeof lines[0]) * kAdvance * dot,
                          pixels.height - kMargin * scale};
    if (pixels.first == nullptr || box.top < 0 || box.right > pixels.width) {
        return;  // a surface too small for the text
    }
    DrawLine(pixels, lines[0], box.left, box.top, dot);
    DrawLine(pixels, lines[1], box.left, box.top + kLineAdvance * dot, dot);
    MarkBoxDrawn(0, box);
}
