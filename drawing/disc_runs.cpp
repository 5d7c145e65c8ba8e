#include "disc_runs.h"

namespace {

constexpr std::uint32_t kOutline = 0x000000;

}  // namespace

int KeepDiscRuns(DiscRuns& kept, const PixelRows& scratch, std::int32_t width, std::int32_t height)
{
    kept.count = 0;
    kept.box = kEmptyBox;
    if (width > kMaxDiscSide || height > kMaxDiscSide) {
        return 0;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint32_t* row = scratch.first + static_cast<std::ptrdiff_t>(y) * scratch.stride;
        std::int32_t x = 0;
        while (x < width) {
            const std::uint32_t kind = row[x] & 0xFFFFFF;
            std::int32_t end = x + 1;
            while (end < width && (row[end] & 0xFFFFFF) == kind) {
                ++end;
            }
            if (kind != kScratchOutside) {
                if ((kind != kScratchFill && kind != kOutline) || kept.count == kMaxDiscRuns) {
                    return 0;
                }
                kept.runs[kept.count++] = {y, x, end, kind == kScratchFill ? 1 : 0};
                kept.box = Union(kept.box, {x, y, end, y + 1});
            }
            x = end;
        }
    }
    return 1;
}

PixelBox WriteDiscRuns(const DiscRuns& kept, const PixelRows& target, std::uint32_t colour, std::int32_t left,
                       std::int32_t top)
{
    const std::uint32_t fill = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    // Read once: the pixels written below may alias any 32-bit integer.
    const std::int32_t count = kept.count;
    const PixelRows rows = target;
    for (std::int32_t i = 0; i < count; ++i) {
        const DiscRuns::Run run = kept.runs[i];
        const std::int32_t y = top + run.row;
        if (y < 0 || y >= rows.height) {
            continue;
        }
        const std::int32_t begin = std::max(left + run.begin, 0);
        const std::int32_t end = std::min(left + run.end, rows.width);
        if (begin < end) {
            std::uint32_t* row = rows.first + static_cast<std::ptrdiff_t>(y) * rows.stride;
            std::fill(row + begin, row + end, run.fill ? fill : 0);
        }
    }
    return Intersection({left + kept.box.left, top + kept.box.top, left + kept.box.right, top + kept.box.bottom},
                        {0, 0, target.width, target.height});
}
