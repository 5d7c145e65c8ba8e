#include "disc_runs.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::int32_t kMaxSide = 64;            // pixels
constexpr std::int32_t kMaxRuns = 4 * kMaxSide;  // an ellipse has at most three a row
// The scratch drawing's three kinds of pixel, as 0x00RRGGBB.
constexpr COLORREF kMarker = RGB(255, 0, 0);
constexpr std::uint32_t kFill = 0xFF0000;
constexpr std::uint32_t kOutside = 0xFFFFFF;
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

// Reads a kMaxSide-square scratch drawing into runs. Returns 0 when there
// are too many or a pixel is neither outside, fill nor outline.
int CollectRuns(const std::uint32_t* scratch)
{
    runCount = 0;
    runsBox = kEmptyBox;
    for (std::int32_t y = 0; y < kMaxSide; ++y) {
        const std::uint32_t* row = scratch + y * kMaxSide;
        std::int32_t x = 0;
        while (x < kMaxSide) {
            const std::uint32_t kind = row[x] & 0xFFFFFF;
            std::int32_t end = x + 1;
            while (end < kMaxSide && (row[end] & 0xFFFFFF) == kind) {
                ++end;
            }
            if (kind != kOutside) {
                if ((kind != kFill && kind != kOutline) || runCount == kMaxRuns) {
                    return 0;
                }
                runs[runCount++] = {y, x, end, kind == kFill ? 1 : 0};
                runsBox = Union(runsBox, {x, y, end, y + 1});
            }
            x = end;
        }
    }
    return 1;
}

}  // namespace

int PrepareDiscRuns(std::int32_t width, std::int32_t height)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return 0;
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kMaxSide, -kMaxSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP scratch = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || scratch == nullptr) {
        DeleteObject(scratch);
        DeleteDC(dc);
        return 0;
    }
    HGDIOBJ previousBitmap = SelectObject(dc, scratch);
    PatBlt(dc, 0, 0, kMaxSide, kMaxSide, WHITENESS);
    HBRUSH marker = CreateSolidBrush(kMarker);
    HGDIOBJ previousBrush = SelectObject(dc, marker);
    Ellipse(dc, 0, 0, width, height);
    SelectObject(dc, previousBrush);
    DeleteObject(marker);
    GdiFlush();
    const int kept = CollectRuns(static_cast<const std::uint32_t*>(bits));
    SelectObject(dc, previousBitmap);
    DeleteObject(scratch);
    DeleteDC(dc);
    return kept;
}

PixelBox WriteDiscRuns(const DibPixels& target, std::uint32_t colour, std::int32_t left, std::int32_t top)
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
