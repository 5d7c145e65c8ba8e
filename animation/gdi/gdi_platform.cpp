// The drawing seam carried out with GDI: a memory DC holding a screen-sized
// compatible bitmap, one solid brush per disc, one block copy per frame.
#include "../picture_fit.h"
#include "../platform.h"

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

void CreateBackBuffer(HWND window, std::int32_t width, std::int32_t height)
{
    windowDc = GetDC(window);
    backBuffer.dc = CreateCompatibleDC(windowDc);
    backBuffer.bitmap = CreateCompatibleBitmap(windowDc, width, height);
    backBuffer.previousBitmap = SelectObject(backBuffer.dc, backBuffer.bitmap);
}

void ClearBackBuffer(std::int32_t width, std::int32_t height)
{
    BitBlt(backBuffer.dc, 0, 0, width, height, backBuffer.dc, 0, 0, BLACKNESS);
}

void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top,
              std::int32_t right, std::int32_t bottom)
{
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ replaced = SelectObject(backBuffer.dc, brush);
    Ellipse(backBuffer.dc, left, top, right, bottom);
    SelectObject(backBuffer.dc, replaced);
    DeleteObject(brush);
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

// Full screen: one block copy of the whole surface to the client origin.
// A child window (the preview pane) gets the picture fitted instead.
void CopyToWindow(HWND window, std::int32_t width, std::int32_t height)
{
    windowDc = GetDC(window);
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
        CopyToPane(window, width, height);
    } else {
        BitBlt(windowDc, 0, 0, width, height, backBuffer.dc, 0, 0, SRCCOPY);
    }
    ReleaseDC(window, windowDc);
}

void FreeBackBuffer()
{
    SelectObject(backBuffer.dc, backBuffer.previousBitmap);
    DeleteObject(backBuffer.bitmap);
    DeleteDC(backBuffer.dc);
}
