#include "disc_runs.h"

namespace {

constexpr std::int32_t kMaxRuns = 4 * kMaxDiscSide;  // an ellipse has at most three a row
constexpr std::uint32_t kOutline = 0x000000;

struct Run {
    std::int32_t row;
    std::int32_t begin;  // first pixel of the run
    std::int32_t end;    // pixel after the last
    std::int32_t fill;   // 1: the disc's colour; 0: the black outline
};

Run runs[kMaxRuns];
std::int32_t runCount;
PixelBox runsBox;  // the runs' extent, relative to the disc's top-left corner

}  // namespace

int KeepDiscRuns(const PixelRows& scratch, std::int32_t width, std::int32_t height)
{
    runCount = 0;
    runsBox = kEmptyBox;
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
                if ((kind != kScratchFill && kind != kOutline) || runCount == kMaxRuns) {
                    return 0;
                }
                runs[runCount++] = {y, x, end, kind == kScratchFill ? 1 : 0};
                runsBox = Union(runsBox, {x, y, end, y + 1});
            }
            x = end;
        }
    }
    return 1;
}

PixelBox WriteDiscRuns(const PixelRows& target, std::uint32_t colour, std::int32_t left, std::int32_t top)
{
    const std::uint32_t fill = (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
    for (std::int32_t i = 0; i < runCount; ++i) {
        const Run& run = runs[i];
        const std::int32_t y = top + run.row;
        if (y < 0 || y >= target.height) {
            continue;
        }
        const std::int32_t begin = std::max(left + run.begin, 0);
        const std::int32_t end = std::min(left + run.end, target.width);
        if (begin < end) {
            std::uint32_t* row = target.first + static_cast<std::ptrdiff_t>(y) * target.stride;
            std::fill(row + begin, row + end, run.fill ? fill : 0);
        }
    }
    return Intersection({left + runsBox.left, top + runsBox.top, left + runsBox.right, top + runsBox.bottom},
                        {0, 0, target.width, target.height});
}
