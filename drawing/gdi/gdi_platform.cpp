// The drawing seam carried out with GDI, one back buffer per screen (see
// screens.h for where each lies and at what scale). On a display of 24 bits
// or more a back buffer is a 32-bit DIB section: discs are written into its
// pixels from runs that GDI's own drawing put down once (ellipse_disc.h), a
// clear blackens only what the last frame drew, and a copy to the window
// takes only what changed since the last copy. Outside that area the picture
// is black, which is also what the system paints, with the class's black
// brush, on any part of the window newly shown or uncovered by a closed
// dialog: so the window shows the whole picture after every copy. On fewer
// bits, where a brush is dithered or matched to a palette, a screen-compatible
// bitmap with one solid brush per disc, and a whole clear and copy every frame.

#include "disc_runs.h"
#include "ellipse_disc.h"
#include "picture_fit.h"
#include "platform.h"
#include "screens.h"

namespace {

struct BackBuffer {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    PixelRows pixels;          // the DIB section's memory; first is null for a compatible bitmap
    PixelBox drawnBox;         // discs drawn since the last clear
    PixelBox clearedBox;       // blackened since the last copy
    ScreenPlace place;         // as it was when the back buffer was made
    std::int32_t runsWidth;    // the disc size the runs are prepared for
    std::int32_t runsHeight;
    int runsReady;             // 0: discs of that size are drawn by GDI instead
    DiscRuns runs;
};

BackBuffer backBuffers[kMaxScreens];
// The saver window's DC as fetched last. The class has CS_OWNDC, so every
// fetch returns the same DC and the one taken at creation is never released.
HDC windowDc;
// 1 from the making of the first screen's back buffer to the next copy, which
// blackens the whole window first: a picture left at the place of a monitor
// that went, or round one that shrank, is wiped.
int windowBlackDue;

constexpr int kDibBits = 24;  // the least display depth given a DIB-section back buffer

HBITMAP CreateDibSection(BackBuffer& buffer, std::int32_t width, std::int32_t height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        buffer.pixels = {static_cast<std::uint32_t*>(bits), width, width, height};
    }
    return bitmap;
}

}  // namespace

void StartFrameTimer(HWND window, UINT id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void StopFrameTimer(HWND window, UINT id)
{
    KillTimer(window, id);
}

// The back buffer holds the screen's picture at its scale, so it is the size
// of what the window shows. The first clear blackens the whole surface and
// the first copy takes all of it: the window gets the whole picture at once,
// and every page of the surface is in use from the start, not as the cloud
// first reaches it.
void CreateBackBuffer(HWND window, std::int32_t screen, std::int32_t width, std::int32_t height)
{
    BackBuffer& buffer = backBuffers[screen];
    buffer.place = screenPlaces[screen];
    width *= buffer.place.scale;
    height *= buffer.place.scale;
    windowDc = GetDC(window);
    windowBlackDue |= screen == 0;
    buffer.pixels = {};
    buffer.drawnBox = {0, 0, width, height};
    buffer.clearedBox = kEmptyBox;
    buffer.runsWidth = buffer.runsHeight = -1;
    buffer.dc = CreateCompatibleDC(windowDc);
    buffer.bitmap = nullptr;
    if (GetDeviceCaps(windowDc, BITSPIXEL) * GetDeviceCaps(windowDc, PLANES) >= kDibBits) {
        buffer.bitmap = CreateDibSection(buffer, width, height);
    }
    if (buffer.bitmap == nullptr) {
        buffer.bitmap = CreateCompatibleBitmap(windowDc, width, height);
    }
    buffer.previousBitmap = SelectObject(buffer.dc, buffer.bitmap);
}

// Outside the discs drawn since the last clear every pixel is black already.
void ClearBackBuffer(std::int32_t screen, std::int32_t width, std::int32_t height)
{
    BackBuffer& buffer = backBuffers[screen];
    if (buffer.pixels.first == nullptr) {
        const std::int32_t scale = buffer.place.scale;
        BitBlt(buffer.dc, 0, 0, width * scale, height * scale, buffer.dc, 0, 0, BLACKNESS);
        return;
    }
    Blacken(buffer.pixels, buffer.drawnBox);
    buffer.clearedBox = Union(buffer.clearedBox, buffer.drawnBox);
    buffer.drawnBox = kEmptyBox;
}

// The disc's rectangle in the animation's pixels, drawn at the screen's scale.
void DrawDisc(std::int32_t screen, std::uint32_t colour, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom)
{
    BackBuffer& buffer = backBuffers[screen];
    const std::int32_t scale = buffer.place.scale;
    left *= scale;
    top *= scale;
    right *= scale;
    bottom *= scale;
    if (buffer.pixels.first == nullptr) {
        DrawEllipseDisc(buffer.dc, colour, left, top, right, bottom, scale);
        return;
    }
    if (right - left != buffer.runsWidth || bottom - top != buffer.runsHeight) {
        buffer.runsWidth = right - left;
        buffer.runsHeight = bottom - top;
        buffer.runsReady = PrepareEllipseRuns(buffer.runs, buffer.runsWidth, buffer.runsHeight, scale);
    }
    if (buffer.runsReady) {
        buffer.drawnBox = Union(buffer.drawnBox, WriteDiscRuns(buffer.runs, buffer.pixels, colour, left, top));
        return;
    }
    // GDI may batch its drawing: done before the pixels are touched again.
    DrawEllipseDisc(buffer.dc, colour, left, top, right, bottom, scale);
    GdiFlush();
    buffer.drawnBox = {0, 0, buffer.pixels.width, buffer.pixels.height};
}

namespace {

// The preview pane (about 152 x 112) is far smaller than the screen the
// picture is composed for. It shows the whole picture scaled down uniformly
// to fit (never up), centred, with the bars beside it painted black every
// frame. Sizes in pixels.
void CopyToPane(HWND window, const BackBuffer& buffer, std::int32_t width, std::int32_t height)
{
    RECT pane;
    GetClientRect(window, &pane);
    if (width <= 0 || height <= 0) {
        PatBlt(windowDc, 0, 0, pane.right, pane.bottom, BLACKNESS);
        return;
    }
    const PictureFit fit = FitPicture(width, height, pane.right, pane.bottom);
    for (const PixelBox& bar : BarsAround(fit, pane.right, pane.bottom).bars) {
        PatBlt(windowDc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, BLACKNESS);
    }
    if (fit.width == width && fit.height == height) {
        BitBlt(windowDc, fit.left, fit.top, width, height, buffer.dc, 0, 0, SRCCOPY);
        return;
    }
    // Averaging keeps 16-pixel discs visible at a seventh of their size;
    // HALFTONE needs the brush origin reset after it is chosen.
    SetStretchBltMode(windowDc, HALFTONE);
    SetBrushOrgEx(windowDc, 0, 0, nullptr);
    StretchBlt(windowDc, fit.left, fit.top, fit.width, fit.height, buffer.dc, 0, 0, width, height, SRCCOPY);
}

}  // namespace

// Full screen: the changed area, or on fewer display bits the whole surface,
// to the same place on the screen's part of the window. A child window (the
// preview pane) gets the whole picture fitted instead.
void CopyToWindow(HWND window, std::int32_t screen, std::int32_t width, std::int32_t height)
{
    BackBuffer& buffer = backBuffers[screen];
    PixelBox changed = Union(buffer.clearedBox, buffer.drawnBox);
    buffer.clearedBox = kEmptyBox;
    windowDc = GetDC(window);
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        CopyToPane(window, buffer, width, height);
        ReleaseDC(window, windowDc);
        return;
    }
    if (windowBlackDue) {
        RECT client;
        GetClientRect(window, &client);
        PatBlt(windowDc, 0, 0, client.right, client.bottom, BLACKNESS);
        windowBlackDue = 0;
    }
    if (buffer.pixels.first == nullptr) {
        changed = {0, 0, width * buffer.place.scale, height * buffer.place.scale};
    }
    BitBlt(windowDc, buffer.place.left + changed.left, buffer.place.top + changed.top, changed.right - changed.left,
           changed.bottom - changed.top, buffer.dc, changed.left, changed.top, SRCCOPY);
    ReleaseDC(window, windowDc);
}

void FreeBackBuffer(std::int32_t screen)
{
    BackBuffer& buffer = backBuffers[screen];
    SelectObject(buffer.dc, buffer.previousBitmap);
    DeleteObject(buffer.bitmap);
    DeleteDC(buffer.dc);
    buffer.pixels = {};
}
