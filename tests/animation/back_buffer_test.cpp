// The cairo back end's discs cut by every edge and corner of surfaces smaller
// than the cloud: wherever a disc touches such a surface, what lands on it is
// exactly that part of the same disc drawn whole on a larger surface, and
// nothing outside it is written (stray writes past a row into the next show
// here; those past the buffer, in the sanitizers' build). The changed box
// holds what was drawn, and a clear leaves the surface black.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "back_buffer.h"
#include "platform.h"

namespace {

constexpr std::int32_t kSide = 16;  // the animation's discs, in pixels

// The back buffer's pixels, row by row, without the rows' padding.
std::vector<std::uint32_t> Pixels()
{
    cairo_surface_t* surface = BackBufferSurface();
    const auto* first = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = first + y * cairo_image_surface_get_stride(surface) / 4;
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

// A disc at (left, top) on a width x height surface, and its pixels; `margin`
// moves it and widens the surface by that much on every side.
std::vector<std::uint32_t> DrawOne(std::int32_t width, std::int32_t height, std::int32_t left, std::int32_t top,
                                   std::int32_t margin, PixelBox* changed)
{
    CreateBackBuffer(nullptr, width + 2 * margin, height + 2 * margin);
    DrawDisc(0x3080FF, left + margin, top + margin, left + margin + kSide, top + margin + kSide);
    const std::vector<std::uint32_t> pixels = Pixels();
    *changed = TakeChangedBox();
    return pixels;
}

// The first place where the cut disc differs from the whole one, or a lit
// pixel lies outside the changed box, or the box outside the surface.
std::string FirstFault(std::int32_t width, std::int32_t height, std::int32_t left, std::int32_t top)
{
    PixelBox box;
    const std::vector<std::uint32_t> whole = DrawOne(width, height, left, top, kSide, &box);
    FreeBackBuffer();
    const std::vector<std::uint32_t> cut = DrawOne(width, height, left, top, 0, &box);
    if (box.left < 0 || box.top < 0 || box.right > width || box.bottom > height) return "changed box off the surface";
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = cut[y * width + x];
            const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            if (pixel != whole[(y + kSide) * (width + 2 * kSide) + x + kSide] || (pixel != 0 && !inBox)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    ClearBackBuffer(width, height);
    for (const std::uint32_t pixel : Pixels()) {
        if (pixel != 0) return "lit after the clear";
    }
    return "";
}

TEST(BackBufferTest, DiscsCutByEveryEdgeAndCornerLandClippedAndNothingElse)
{
    // Odd and even sides, a disc's size and less, down to a single pixel.
    const std::int32_t sizes[][2] = {{64, 48}, {33, 17}, {16, 16}, {7, 5}, {1, 1}};
    for (const auto& [width, height] : sizes) {
        for (std::int32_t top = -kSide; top <= height; ++top) {
            for (std::int32_t left = -kSide; left <= width; ++left) {
                const std::string fault = FirstFault(width, height, left, top);
                FreeBackBuffer();
                ASSERT_EQ(fault, "") << width << " x " << height << " surface, disc at " << left << ", " << top;
            }
        }
    }
}

}  // namespace
