#include "ellipse_runs.h"

#include <windows.h>

#include "disc_runs.h"

namespace {

// Pixels: the side of the scratch drawing, and so of the largest disc kept.
// The saver's discs are 16; larger ones are drawn by GDI.
constexpr std::int32_t kScratchSide = 64;
constexpr COLORREF kMarker = RGB(255, 0, 0);  // kScratchFill as a COLORREF

}  // namespace

int PrepareEllipseRuns(std::int32_t width, std::int32_t height)
{
    if (width < 1 || height < 1 || width > kScratchSide || height > kScratchSide) {
        return 0;
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kScratchSide, -kScratchSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP scratch = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || scratch == nullptr) {
        DeleteObject(scratch);
        DeleteDC(dc);
        return 0;
    }
    HGDIOBJ previousBitmap = SelectObject(dc, scratch);
    PatBlt(dc, 0, 0, kScratchSide, kScratchSide, WHITENESS);
    HBRUSH marker = CreateSolidBrush(kMarker);
    HGDIOBJ previousBrush = SelectObject(dc, marker);
    Ellipse(dc, 0, 0, width, height);
    SelectObject(dc, previousBrush);
    DeleteObject(marker);
    GdiFlush();
    const int kept =
        KeepDiscRuns({static_cast<std::uint32_t*>(bits), kScratchSide, kScratchSide, kScratchSide}, width, height);
    SelectObject(dc, previousBitmap);
    DeleteObject(scratch);
    DeleteDC(dc);
    return kept;
}
