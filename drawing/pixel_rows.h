// 32-bit pixels that the back ends write directly: a cairo RGB24 image
// surface and a top-down 32-bit DIB section alike hold 0x00RRGGBB per pixel
// (the top byte unused), rows `stride` pixels apart.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "pixel_box.h"

struct PixelRows {
    std::uint32_t* first;  // null: no pixels to write
    std::int32_t stride;
    std::int32_t width;
    std::int32_t height;
};

// Blackens `box`, which lies within the rows.
inline void Blacken(const PixelRows& rows, const PixelBox& box)
{
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
        std::uint32_t* row = rows.first + static_cast<std::ptrdiff_t>(y) * rows.stride;
        std::fill(row + box.left, row + box.right, 0u);
    }
}
