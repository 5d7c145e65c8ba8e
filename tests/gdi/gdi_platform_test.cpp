// The GDI drawing seam in a real window under Wine: discs land where the frame
// puts them, in the colour of their place in the drawing order, outlined in
// black, and hundreds of frames later they still do (a leaked brush per disc
// would exhaust the GDI handle table long before).
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>

#include "point_set.h"
#include "saver_proc.h"

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

struct Placed {
    float x, y;      // relative to the screen centre
    COLORREF fill;   // by hand from the wheel, for drawing places 595..599 of the first frame
};

// The last five discs of the first frame: (0, 255, 95) .. (0, 255, 99).
const Placed kPlaced[] = {
    {-300, -200, RGB(0, 255, 95)},
    {-100, -150, RGB(0, 255, 96)},
    {50, 0, RGB(0, 255, 97)},
    {200, 120, RGB(0, 255, 98)},
    {330, -40, RGB(0, 255, 99)},
};

class GdiPlatform : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "VimraGdiTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(WS_EX_TOPMOST, "VimraGdiTest", "gdi test", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        Pump();
        SaverProc(window, WM_CREATE, 0, 0);
        KillTimer(window, kFrameTimerId);  // the test delivers the ticks itself
    }

    void TearDown() override
    {
        SaverProc(window, WM_DESTROY, 0, 0);
        DestroyWindow(window);
        UnregisterClassA("VimraGdiTest", GetModuleHandleA(nullptr));
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    // The next tick draws the five placed points last, the rest far off screen.
    void InjectPlacedPoints()
    {
        for (int n = 0; n < kPointCount; ++n) {
            float x = -5000, y = -5000, z = -1000;
            if (n >= kPointCount - 5) {
                const Placed& p = kPlaced[n - (kPointCount - 5)];
                x = p.x;
                y = p.y;
                z = static_cast<float>(n);
            }
            morphFrom.x[n] = morphTo.x[n] = x;
            morphFrom.y[n] = morphTo.y[n] = y;
            morphFrom.z[n] = morphTo.z[n] = z;
        }
        shapeState.morphCounter = 0;
        shapeState.shapeClock = std::time(nullptr) + 3600;  // no pick
        angleX = angleY = angleZ = 358.5f;  // wrap to 0 on the tick: no turn
    }

    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(window);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return c;
    }

    void ExpectPlacedDiscs()
    {
        const int cx = screenSize.width / 2;
        const int cy = screenSize.height / 2;
        for (const Placed& p : kPlaced) {
            const int left = cx + static_cast<int>(p.x) - 8;
            const int top = cy + static_cast<int>(p.y) - 8;
            SCOPED_TRACE(::testing::Message() << "disc at " << left << "," << top);
            EXPECT_EQ(Pixel(left + 8, top + 8), p.fill);
            EXPECT_EQ(Pixel(left + 4, top + 8), p.fill);
            EXPECT_EQ(Pixel(left, top + 8), RGB(0, 0, 0)) << "outline at the left edge";
            EXPECT_EQ(Pixel(left + 8, top), RGB(0, 0, 0)) << "outline at the top edge";
            EXPECT_EQ(Pixel(left + 15, top + 8), RGB(0, 0, 0)) << "outline at the right edge";
            EXPECT_EQ(Pixel(left + 1, top + 8), p.fill) << "one pixel in is filled";
            EXPECT_EQ(Pixel(left + 1, top + 1), RGB(0, 0, 0)) << "corners stay black";
            EXPECT_EQ(Pixel(left + 16, top + 8), RGB(0, 0, 0)) << "nothing right of the rectangle";
        }
    }

    HWND window = nullptr;
};

TEST_F(GdiPlatform, DiscsLandWhereTheFramePutsThemInTheirColours)
{
    InjectPlacedPoints();
    SaverProc(window, WM_TIMER, kFrameTimerId, 0);
    ExpectPlacedDiscs();
}

TEST_F(GdiPlatform, ThePictureIsBlackAwayFromTheDiscs)
{
    InjectPlacedPoints();
    SaverProc(window, WM_TIMER, kFrameTimerId, 0);
    EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(screenSize.width - 1, screenSize.height - 1), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(screenSize.width / 2 - 200, screenSize.height / 2 + 200), RGB(0, 0, 0));
}

TEST_F(GdiPlatform, HundredsOfFramesLaterBrushesStillWork)
{
    for (int frame = 0; frame < 300; ++frame) {  // 180,000 brushes made and freed
        SaverProc(window, WM_TIMER, kFrameTimerId, 0);
    }
    InjectPlacedPoints();
    // The base colour has moved on 300 frames; only check that a disc of the
    // right shape and a non-black fill still lands: brushes did not run out.
    SaverProc(window, WM_TIMER, kFrameTimerId, 0);
    const int cx = screenSize.width / 2;
    const int cy = screenSize.height / 2;
    for (const Placed& p : kPlaced) {
        const int x = cx + static_cast<int>(p.x);
        const int y = cy + static_cast<int>(p.y);
        EXPECT_NE(Pixel(x, y), RGB(0, 0, 0)) << x << "," << y;
        EXPECT_NE(Pixel(x, y), RGB(255, 255, 255)) << x << "," << y;
        EXPECT_EQ(Pixel(x - 8, y), RGB(0, 0, 0)) << x << "," << y;
    }
}

}  // namespace
