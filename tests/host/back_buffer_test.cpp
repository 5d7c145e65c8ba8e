// The GDI back end through the seam into a real window: the screens it reads
// with and without the monitor functions; after every copy the window shows,
// pixel for pixel, what a whole clear, one solid brush and Ellipse per disc on
// a compatible bitmap and a whole copy show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform.h"
#include "gdi/screens.h"

// A stand-in that lists a 1280x1024 left of the primary, then a 3840x2160 primary.
BOOL WINAPI ListTwoMonitors(HDC, LPCRECT, MONITORENUMPROC callback, LPARAM data)
{
    RECT left = {-1280, 0, 0, 1024}, primary = {0, 0, 3840, 2160};
    return callback(nullptr, nullptr, &left, data) && callback(nullptr, nullptr, &primary, data);
}

// A full-screen window at (-37, -21): the system's monitor (Xvfb has one),
// then none (Windows 95, NT 4: today's one picture at scale 1, the primary's
// size at the primary's place), then two, the primary's first.
TEST(ScreensTest, OneScreenPerMonitorThePrimarysFirstAndWithoutMonitorFunctionsThePrimarysPicture)
{
    char primary[32];
    std::snprintf(primary, sizeof primary, "%dx%d at 37,21 x1", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const std::pair<EnumDisplayMonitorsProc, std::string> cases[] = {
        {enumDisplayMonitors, primary}, {nullptr, primary}, {ListTwoMonitors, "1920x1080 at 37,21 x2, 1280x1024 at -1243,21 x1"}};
    const EnumDisplayMonitorsProc system = enumDisplayMonitors;
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, -37, -21, 99, 99, nullptr, nullptr, nullptr, nullptr);
    for (const auto& [enumerate, expected] : cases) {
        enumDisplayMonitors = enumerate;
        ScreenSize sizes[kMaxScreens];
        char read[128] = "";
        for (std::int32_t s = 0, count = ReadScreens(window, sizes); s < count; ++s) {
            std::snprintf(read + std::strlen(read), sizeof read - std::strlen(read), "%s%dx%d at %d,%d x%d", s ? ", " : "",
                          sizes[s].width, sizes[s].height, screenPlaces[s].left, screenPlaces[s].top, screenPlaces[s].scale);
        }
        EXPECT_EQ(read, expected);
    }
    enumDisplayMonitors = system;
    DestroyWindow(window);
}

TEST(GdiBackBufferTest, WindowShowsEachFrameAsBrushAndEllipseDrawIt)
{
    constexpr int kWidth = 131, kHeight = 97;
    // Discs of w x h, their corners on a grid of that step from (left, top)
    // up to (right, bottom): a cloud that moves and shrinks, then grids over
    // the whole surface that cross every edge and corner, the last of discs
    // too big to keep as runs; a small cloud, tiny discs, none at all.
    const int frames[][7] = {
        {16, 16, 9, 40, 30, 110, 80}, {16, 16, 7, 20, 10, 70, 50}, {16, 16, 5, 40, 30, 55, 45},
        {16, 16, 15, -15, -1, kWidth, kHeight}, {16, 16, 13, -8, -12, kWidth, kHeight},
        {5, 9, 4, -4, -8, kWidth, kHeight}, {31, 20, 17, -30, -19, kWidth, kHeight},
        {64, 64, 50, -63, -40, kWidth, kHeight}, {80, 70, 60, -50, -50, kWidth, kHeight},
        {16, 16, 9, 100, 70, 120, 90}, {2, 2, 1, -1, -1, kWidth, kHeight}, {16, 16, 1, 0, 0, 0, 0}};
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC windowDc = GetDC(window), reference = CreateCompatibleDC(windowDc);
    SelectObject(reference, CreateCompatibleBitmap(windowDc, kWidth, kHeight));
    PatBlt(windowDc, 0, 0, kWidth, kHeight, WHITENESS);  // the first copy must cover it all
    ScreenSize screens[kMaxScreens];
    ReadScreens(window, screens);  // the primary monitor's, at scale 1, where the window is
    CreateBackBuffer(window, 0, kWidth, kHeight);
    std::uint32_t colour = 1;
    for (const auto& [w, h, step, left, top, right, bottom] : frames) {
        BitBlt(reference, 0, 0, kWidth, kHeight, reference, 0, 0, BLACKNESS);
        ClearBackBuffer(0, kWidth, kHeight);
        for (int y = top; y < bottom; y += step) {
            for (int x = left; x < right; x += step) {
                colour = (colour * 1103515245u + 12345u) & 0xFFFFFF;
                HGDIOBJ replaced = SelectObject(reference, CreateSolidBrush(colour));
                Ellipse(reference, x, y, x + w, y + h);
                DeleteObject(SelectObject(reference, replaced));
                DrawDisc(0, colour, x, y, x + w, y + h);
            }
        }
        CopyToWindow(window, 0, kWidth, kHeight);
        int wrong = 0;
        for (int i = 0; i < kWidth * kHeight; ++i)
            wrong += GetPixel(windowDc, i % kWidth, i / kWidth) != GetPixel(reference, i % kWidth, i / kWidth);
        EXPECT_EQ(wrong, 0) << "frame " << (&w - frames[0]) / 7;
    }
    FreeBackBuffer(0);
}
