// The drawing seam carried out with GDI: a memory DC holding a screen-sized
// compatible bitmap, one solid brush per disc, one block copy per frame.
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

void CopyToWindow(HWND window, std::int32_t width, std::int32_t height)
{
    windowDc = GetDC(window);
    BitBlt(windowDc, 0, 0, width, height, backBuffer.dc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
}

void FreeBackBuffer()
{
    SelectObject(backBuffer.dc, backBuffer.previousBitmap);
    DeleteObject(backBuffer.bitmap);
    DeleteDC(backBuffer.dc);
}
