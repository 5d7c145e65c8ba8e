// The cairo back end's discs cut by every edge and corner of surfaces smaller
// than the cloud: wherever a disc touches one, what lands on it is exactly
// that part of the same disc drawn whole on a larger surface, and nothing
// outside it is written (writes past a row show in the next row; past the
// buffer, in the sanitizers' build). A clear leaves the surface black.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "back_buffer.h"
#include "platform.h"

namespace {

constexpr std::int32_t kSide = 16;  // the animation's discs, in pixels

// The back buffer's pixels, row by row (an RGB24 row has no padding).
std::vector<std::uint32_t> Pixels(std::int32_t width, std::int32_t height)
{
    const auto* first = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(BackBufferSurface(0)));
    return {first, first + width * height};
}

TEST(BackBufferTest, DiscsCutByEveryEdgeAndCornerLandClippedAndNothingElse)
{
    // Odd and even sides, a disc's size and less, down to a single pixel.
    for (const auto& [width, height] : {std::pair{64, 48}, {33, 17}, {16, 16}, {7, 5}, {1, 1}}) {
        for (std::int32_t top = -kSide; top <= height; ++top) {
            for (std::int32_t left = -kSide; left <= width; ++left) {
                SCOPED_TRACE(::testing::Message() << width << " x " << height << ", disc at " << left << ", " << top);
                CreateBackBuffer(nullptr, 0, width + 2 * kSide, height + 2 * kSide);
                DrawDisc(0, 0x3080FF, left + kSide, top + kSide, left + 2 * kSide, top + 2 * kSide);
                const std::vector<std::uint32_t> whole = Pixels(width + 2 * kSide, height + 2 * kSide);
                FreeBackBuffer(0);
                CreateBackBuffer(nullptr, 0, width, height);
                DrawDisc(0, 0x3080FF, left, top, left + kSide, top + kSide);
                const std::vector<std::uint32_t> cut = Pixels(width, height);
                for (std::int32_t y = 0; y < height; ++y) {
                    const auto row = whole.begin() + (y + kSide) * (width + 2 * kSide) + kSide;
                    ASSERT_TRUE(std::equal(row, row + width, cut.begin() + y * width)) << "row " << y;
                }
                ClearBackBuffer(0, width, height);
                ASSERT_EQ(Pixels(width, height), std::vector<std::uint32_t>(width * height)) << "lit after a clear";
                FreeBackBuffer(0);
            }
        }
    }
}

}  // namespace
