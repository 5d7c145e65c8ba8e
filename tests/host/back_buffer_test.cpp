// The GDI back end through the drawing seam into a real window: after every
// copy the window shows, pixel for pixel, what a full clear, one solid brush
// and Ellipse per disc on a screen-compatible bitmap and a whole copy show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform.h"

namespace {

constexpr int kWidth = 203, kHeight = 151;

struct Disc {
    std::uint32_t colour;
    RECT box;
};

// A frame: `count` discs of w x h scattered within `spread` of (x, y), then,
// where `edge` > 0, one across each edge and corner, `edge` pixels inside.
struct Frame {
    int w, h, x, y, spread, count, edge;
};
const Frame kFrames[] = {
    {16, 16, 100, 75, 40, 150, 0},  {16, 16, 60, 40, 30, 150, 0},  // the cloud moves
    {16, 16, 60, 40, 8, 40, 0},     {16, 16, 101, 75, 120, 300, 1}, // shrinks; crosses every edge
    {16, 16, 100, 75, 0, 1, 8},     {16, 16, 100, 75, 0, 1, 15},   {5, 9, 100, 75, 110, 200, 2},
    {31, 20, 100, 75, 60, 50, 30},  {64, 64, 100, 75, 40, 8, 63},  {80, 70, 100, 75, 40, 4, 1},
    {16, 16, 150, 100, 4, 20, 0},   {2, 2, 100, 75, 90, 50, 1},    {16, 16, 0, 0, 0, 0, 0},
};

std::vector<Disc> DiscsOf(const Frame& f)
{
    std::vector<Disc> discs;
    std::uint32_t seed = f.x * 7919u + f.count;
    auto next = [&](int range) { return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 8) % range; };
    auto place = [&](int x, int y) {
        discs.push_back({seed & 0xFFFFFF, {x, y, x + f.w, y + f.h}});
    };
    for (int i = 0; i < f.count; ++i) place(f.x - f.spread + next(2 * f.spread + 1) - f.w / 2,
                                            f.y - f.spread + next(2 * f.spread + 1) - f.h / 2);
    if (f.edge > 0) {
        for (int x : {f.edge - f.w, 50, kWidth - f.edge}) {
            for (int y : {f.edge - f.h, 50, kHeight - f.edge}) place(x, y);
        }
    }
    return discs;
}

// A device's kWidth x kHeight pixels at its origin, as 0x00RRGGBB.
std::vector<std::uint32_t> Read(HDC source)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits),
                                      static_cast<std::uint32_t*>(bits) + kWidth * kHeight);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

TEST(GdiBackBufferTest, WindowShowsEachFrameAsBrushAndEllipseDrawIt)
{
    const WNDCLASSA windowClass = {CS_OWNDC, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr,
                                   static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr, "Picture"};
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "Picture", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(window);
    HDC windowDc = GetDC(window);
    HDC reference = CreateCompatibleDC(windowDc);
    HGDIOBJ previous = SelectObject(reference, CreateCompatibleBitmap(windowDc, kWidth, kHeight));
    CreateBackBuffer(window, kWidth, kHeight);
    ClearBackBuffer(kWidth, kHeight);
    for (const Frame& frame : kFrames) {
        SCOPED_TRACE(::testing::Message() << "frame " << &frame - kFrames);
        BitBlt(reference, 0, 0, kWidth, kHeight, reference, 0, 0, BLACKNESS);
        ClearBackBuffer(kWidth, kHeight);
        for (const Disc& disc : DiscsOf(frame)) {
            HBRUSH brush = CreateSolidBrush(disc.colour);
            HGDIOBJ replaced = SelectObject(reference, brush);
            Ellipse(reference, disc.box.left, disc.box.top, disc.box.right, disc.box.bottom);
            DeleteObject(SelectObject(reference, replaced));
            DrawDisc(disc.colour, disc.box.left, disc.box.top, disc.box.right, disc.box.bottom);
        }
        CopyToWindow(window, kWidth, kHeight);
        const std::vector<std::uint32_t> shown = Read(windowDc), expected = Read(reference);
        int wrong = 0, first = -1;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            if ((shown[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF) && wrong++ == 0) first = i;
        }
        EXPECT_EQ(wrong, 0) << "first at " << first % kWidth << ", " << first / kWidth;
    }
    FreeBackBuffer();
    DeleteObject(SelectObject(reference, previous));
    DeleteDC(reference);
    DestroyWindow(window);
}

}  // namespace
