// The cairo back end's discs cut by every edge and corner of surfaces smaller
// than the cloud: wherever a disc touches one, what lands on it is exactly
// that part of the same disc drawn whole on a larger surface, and nothing
// outside it is written (writes past a row show in the next row; past the
// buffer, in the sanitizers' build). The changed box holds what was drawn; a
// clear leaves the surface black.
#include <gtest/gtest.h>

#include <vector>

#include "back_buffer.h"
#include "platform.h"

namespace {

constexpr std::int32_t kSide = 16;  // the animation's discs, in pixels

// The back buffer's pixels, row by row, without the rows' padding.
std::vector<std::uint32_t> Pixels(std::int32_t width, std::int32_t height)
{
    cairo_surface_t* surface = BackBufferSurface();
    const auto* first = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint32_t* row = first + y * cairo_image_surface_get_stride(surface) / 4;
        pixels.insert(pixels.end(), row, row + width);
    }
    return pixels;
}

// A disc at (left, top) on a new width x height surface, and its pixels.
std::vector<std::uint32_t> DrawOne(std::int32_t width, std::int32_t height, std::int32_t left, std::int32_t top)
{
    CreateBackBuffer(nullptr, width, height);
    DrawDisc(0x3080FF, left, top, left + kSide, top + kSide);
    return Pixels(width, height);
}

TEST(BackBufferTest, DiscsCutByEveryEdgeAndCornerLandClippedAndNothingElse)
{
    // Odd and even sides, a disc's size and less, down to a single pixel.
    for (const auto& [width, height] : {std::pair{64, 48}, {33, 17}, {16, 16}, {7, 5}, {1, 1}}) {
        for (std::int32_t top = -kSide; top <= height; ++top) {
            for (std::int32_t left = -kSide; left <= width; ++left) {
                SCOPED_TRACE(::testing::Message() << width << " x " << height << ", disc at " << left << ", " << top);
                const auto whole = DrawOne(width + 2 * kSide, height + 2 * kSide, left + kSide, top + kSide);
                FreeBackBuffer();
                const auto cut = DrawOne(width, height, left, top);
                const PixelBox box = TakeChangedBox();
                ASSERT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height);
                for (std::int32_t y = 0; y < height; ++y) {
                    for (std::int32_t x = 0; x < width; ++x) {
                        const bool inBox = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                        ASSERT_EQ(cut[y * width + x], whole[(y + kSide) * (width + 2 * kSide) + x + kSide]) << x << ", " << y;
                        ASSERT_TRUE(cut[y * width + x] == 0 || inBox) << x << ", " << y << " lit outside the changed box";
                    }
                }
                ClearBackBuffer(width, height);
                ASSERT_EQ(Pixels(width, height), std::vector<std::uint32_t>(width * height)) << "lit after a clear";
                FreeBackBuffer();
            }
        }
    }
}

}  // namespace
