// A rectangle of whole pixels, right and bottom edges outside it, as the
// back ends track what they have drawn and what changed between copies.
#pragma once

#include <algorithm>
#include <cstdint>

struct PixelBox {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

constexpr PixelBox kEmptyBox = {0, 0, 0, 0};

inline bool IsEmpty(const PixelBox& box)
{
    return box.left >= box.right || box.top >= box.bottom;
}

// The smallest box holding both; an empty box adds nothing.
inline PixelBox Union(const PixelBox& a, const PixelBox& b)
{
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

inline PixelBox Intersection(const PixelBox& a, const PixelBox& b)
{
    const PixelBox box = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
    return IsEmpty(box) ? kEmptyBox : box;
}
