#include "ellipse_disc.h"

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 0);  // kScratchFill as a COLORREF

}  // namespace

void DrawEllipseDisc(HDC dc, COLORREF colour, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, std::int32_t outline)
{
    const std::int32_t inset = outline - 1;
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ replaced = SelectObject(dc, brush);
    if (inset > 0) {
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
        Ellipse(dc, left, top, right, bottom);
        SelectObject(dc, brush);
    }
    Ellipse(dc, left + inset, top + inset, right - inset, bottom - inset);
    SelectObject(dc, replaced);
    DeleteObject(brush);
}

int PrepareEllipseRuns(DiscRuns& runs, std::int32_t width, std::int32_t height, std::int32_t outline)
{
    runs.count = 0;
    if (width < 1 || height < 1 || width > kMaxDiscSide || height > kMaxDiscSide) {
        return 0;
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kMaxDiscSide, -kMaxDiscSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP scratch = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || scratch == nullptr) {
        DeleteObject(scratch);
        DeleteDC(dc);
        return 0;
    }
    HGDIOBJ previousBitmap = SelectObject(dc, scratch);
    PatBlt(dc, 0, 0, kMaxDiscSide, kMaxDiscSide, WHITENESS);
    DrawEllipseDisc(dc, kMarker, 0, 0, width, height, outline);
    GdiFlush();
    const int kept =
        KeepDiscRuns(runs, {static_cast<std::uint32_t*>(bits), kMaxDiscSide, kMaxDiscSide, kMaxDiscSide}, width, height);
    SelectObject(dc, previousBitmap);
    DeleteObject(scratch);
    DeleteDC(dc);
    return kept;
}
