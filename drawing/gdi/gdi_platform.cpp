// The drawing seam carried out with GDI. On a display of 24 bits or more the
// back buffer is a 32-bit DIB section: discs are written into its pixels from
// runs that GDI's own Ellipse drew once (ellipse_runs.h), a clear blackens only
// what the last frame drew, and a copy to the window takes only what changed
// since the last copy. Outside that area the picture is black, which is also
// what the system paints, with the class's black brush, on any part of the
// window newly shown or uncovered by a closed dialog: so the window shows the
// whole picture after every copy. On fewer bits, where a brush is dithered or
// matched to a palette, a screen-compatible bitmap with one solid brush and
// one Ellipse per disc, and a whole clear and copy every frame.

#include "disc_runs.h"
#include "picture_fit.h"
#include "platform.h"
#include "ellipse_runs.h"

namespace {

struct BackBuffer {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
};

BackBuffer backBuffer;
// The saver window's DC as fetched last. The class has CS_OWNDC, so every
// fetch returns the same DC and the one taken at creation is never released.
HDC windowDc;
PixelRows pixels;        // the DIB section's memory; first is null for a compatible bitmap
PixelBox drawnBox;       // discs drawn since the last clear
PixelBox clearedBox;     // blackened since the last copy
std::int32_t runsWidth;  // the disc size the runs are prepared for
std::int32_t runsHeight;
int runsReady;           // 0: discs of that size are drawn by GDI instead

constexpr int kDibBits = 24;  // the least display depth given a DIB-section back buffer

}  // namespace

void StartFrameTimer(HWND window, UINT id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void StopFrameTimer(HWND window, UINT id)
{
    KillTimer(window, id);
}

std::int32_t ReadScreenWidth()
{
    return GetSystemMetrics(SM_CXSCREEN);
}

std::int32_t ReadScreenHeight()
{
    return GetSystemMetrics(SM_CYSCREEN);
}

namespace {

HBITMAP CreateDibSection(std::int32_t width, std::int32_t height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        pixels = {static_cast<std::uint32_t*>(bits), width, width, height};
    }
    return bitmap;
}

void DrawDiscWithBrush(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
                       std::int32_t bottom)
{
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ replaced = SelectObject(backBuffer.dc, brush);
    Ellipse(backBuffer.dc, left, top, right, bottom);
    SelectObject(backBuffer.dc, replaced);
    DeleteObject(brush);
}

}  // namespace

// The first clear blackens the whole surface and the first copy takes all of
// it: the window gets the whole picture at once, and every page of the
// surface is in use from the start, not as the cloud first reaches it.
void CreateBackBuffer(HWND window, std::int32_t width, std::int32_t height)
{
    windowDc = GetDC(window);
    pixels = {};
    drawnBox = {0, 0, width, height};
    clearedBox = kEmptyBox;
    runsWidth = runsHeight = -1;
    backBuffer.dc = CreateCompatibleDC(windowDc);
    backBuffer.bitmap = nullptr;
    if (GetDeviceCaps(windowDc, BITSPIXEL) * GetDeviceCaps(windowDc, PLANES) >= kDibBits) {
        backBuffer.bitmap = CreateDibSection(width, height);
    }
    if (backBuffer.bitmap == nullptr) {
        backBuffer.bitmap = CreateCompatibleBitmap(windowDc, width, height);
    }
    backBuffer.previousBitmap = SelectObject(backBuffer.dc, backBuffer.bitmap);
}

// Outside the discs drawn since the last clear every pixel is black already.
void ClearBackBuffer(std::int32_t width, std::int32_t height)
{
    if (pixels.first == nullptr) {
        BitBlt(backBuffer.dc, 0, 0, width, height, backBuffer.dc, 0, 0, BLACKNESS);
        return;
    }
    Blacken(pixels, drawnBox);
    clearedBox = Union(clearedBox, drawnBox);
    drawnBox = kEmptyBox;
}

void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom)
{
    if (pixels.first == nullptr) {
        DrawDiscWithBrush(colour, left, top, right, bottom);
        return;
    }
    if (right - left != runsWidth || bottom - top != runsHeight) {
        runsWidth = right - left;
        runsHeight = bottom - top;
        runsReady = PrepareEllipseRuns(runsWidth, runsHeight);
    }
    if (runsReady) {
        drawnBox = Union(drawnBox, WriteDiscRuns(pixels, colour, left, top));
        return;
    }
    // GDI may batch its drawing: done before the pixels are touched again.
    DrawDiscWithBrush(colour, left, top, right, bottom);
    GdiFlush();
    drawnBox = {0, 0, pixels.width, pixels.height};
}

namespace {

// The preview pane (about 152 x 112) is far smaller than the screen the
// picture is composed for. It shows the whole picture scaled down uniformly
// to fit (never up), centred, with the bars beside it painted black every
// frame. Sizes in pixels.
void CopyToPane(HWND window, std::int32_t width, std::int32_t height)
{
    RECT pane;
    GetClientRect(window, &pane);
    const std::int32_t paneWidth = pane.right;
    const std::int32_t paneHeight = pane.bottom;

    if (width <= 0 || height <= 0) {
        PatBlt(windowDc, 0, 0, paneWidth, paneHeight, BLACKNESS);
        return;
    }
    const PictureFit fit = FitPicture(width, height, paneWidth, paneHeight);
    const std::int32_t right = fit.left + fit.width;
    const std::int32_t bottom = fit.top + fit.height;
    PatBlt(windowDc, 0, 0, paneWidth, fit.top, BLACKNESS);
    PatBlt(windowDc, 0, bottom, paneWidth, paneHeight - bottom, BLACKNESS);
    PatBlt(windowDc, 0, fit.top, fit.left, fit.height, BLACKNESS);
    PatBlt(windowDc, right, fit.top, paneWidth - right, fit.height, BLACKNESS);

    if (fit.width == width && fit.height == height) {
        BitBlt(windowDc, fit.left, fit.top, width, height, backBuffer.dc, 0, 0, SRCCOPY);
        return;
    }
    // Averaging keeps 16-pixel discs visible at a seventh of their size;
    // HALFTONE needs the brush origin reset after it is chosen.
    SetStretchBltMode(windowDc, HALFTONE);
    SetBrushOrgEx(windowDc, 0, 0, nullptr);
    StretchBlt(windowDc, fit.left, fit.top, fit.width, fit.height, backBuffer.dc, 0, 0, width, height,
               SRCCOPY);
}

}  // namespace

// Full screen: the changed area, or on fewer display bits the whole surface,
// to the same place in the client area. A child window (the preview pane)
// gets the whole picture fitted instead.
void CopyToWindow(HWND window, std::int32_t width, std::int32_t height)
{
    const PixelBox changed = Union(clearedBox, drawnBox);
    clearedBox = kEmptyBox;
    windowDc = GetDC(window);
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        CopyToPane(window, width, height);
    } else if (pixels.first == nullptr) {
        BitBlt(windowDc, 0, 0, width, height, backBuffer.dc, 0, 0, SRCCOPY);
    } else {
        BitBlt(windowDc, changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top,
               backBuffer.dc, changed.left, changed.top, SRCCOPY);
    }
    ReleaseDC(window, windowDc);
}

void FreeBackBuffer()
{
    SelectObject(backBuffer.dc, backBuffer.previousBitmap);
    DeleteObject(backBuffer.bitmap);
    DeleteDC(backBuffer.dc);
    pixels = {};
}
