// vimra.scr /s end to end: the picture it puts on the screen, the input that
// ends it and the input that does not, and the single full-screen instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

class FullScreenSaver : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        ASSERT_TRUE(PlaceCursor(width / 2, height / 2));
    }

    // The saver must end by itself with exit code 0 and leave no window.
    void ExpectEndsWithZero(Process& saver, const char* what)
    {
        // Wine + Xvfb takes about two seconds to finish destroying the window.
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code)) << what << ": the saver did not end";
        EXPECT_EQ(code, 0) << what;
        EXPECT_EQ(FindTopLevel(0, kSaverClass, nullptr), nullptr) << what;
    }

    int width = 0;
    int height = 0;
};

// The largest distance of a disc pixel from the centre of the picture: the
// farthest point of any shape is a wave-sheet corner, |(-476, 200, z)| with
// |z| <= 16, about 516.6 pixels (a morph never goes beyond both its ends); a
// 16 x 16 disc adds at most 8 * sqrt(2).
constexpr double kCloudReach = 516.6 + 8.0 * 1.4143 + 2.0;

struct PictureFacts {
    long coloured = 0;          // pixels that are not black
    long offRim = 0;            // coloured pixels that are not fully saturated rim colours
    long beyondReach = 0;       // coloured pixels farther than kCloudReach from the centre
    double centroidX = 0;
    double centroidY = 0;
    int busyHueBins = 0;        // 30-degree hue bins holding at least 1% of the coloured pixels
};

PictureFacts Examine(const Screenshot& shot)
{
    PictureFacts facts;
    long hueBins[12] = {};
    double sumX = 0, sumY = 0;
    const double cx = shot.width / 2, cy = shot.height / 2;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            std::uint32_t pixel = shot.At(x, y);
            if (pixel == 0) continue;
            ++facts.coloured;
            sumX += x;
            sumY += y;
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) > kCloudReach) ++facts.beyondReach;
            int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            int high = std::max(r, std::max(g, b));
            int low = std::min(r, std::min(g, b));
            if (high != 255 || low != 0) {
                ++facts.offRim;
                continue;
            }
            double hue;  // degrees, 0 red, 120 green, 240 blue
            if (r == 255) hue = b == 0 ? 60.0 * g / 255 : 360.0 - 60.0 * b / 255;
            else if (g == 255) hue = r > 0 ? 120.0 - 60.0 * r / 255 : 120.0 + 60.0 * b / 255;
            else hue = g > 0 ? 240.0 - 60.0 * g / 255 : 240.0 + 60.0 * r / 255;
            ++hueBins[static_cast<int>(hue / 30.0) % 12];
        }
    }
    if (facts.coloured) {
        facts.centroidX = sumX / facts.coloured;
        facts.centroidY = sumY / facts.coloured;
        for (long count : hueBins)
            if (count * 100 >= facts.coloured) ++facts.busyHueBins;
    }
    return facts;
}

// A white window standing for the desktop that the saver has to cover.
class WhiteBackdrop {
public:
    WhiteBackdrop()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "VimraE2eBackdrop";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "VimraE2eBackdrop", "Backdrop", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~WhiteBackdrop()
    {
        if (window) DestroyWindow(window);
    }
    HWND window = nullptr;
};

TEST_F(FullScreenSaver, CoversTheScreenWithMovingRainbowDiscsAroundTheCentre)
{
    WhiteBackdrop backdrop;
    ASSERT_NE(backdrop.window, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        Screenshot shot = CaptureScreen();
        return shot.width > 0 && shot.At(5, 5) == 0xFFFFFF && shot.At(width / 2, height / 2) == 0xFFFFFF;
    }, 10000)) << "the white backdrop never showed";

    Process saver;
    HWND window = StartFullScreenSaver(saver, SaverPath());
    ASSERT_NE(window, nullptr);

    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, width);
    EXPECT_EQ(rect.bottom, height);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_CAPTION);

    // Wait for a drawn frame: the backdrop's white gone, discs on black.
    Screenshot first;
    PictureFacts facts;
    ASSERT_TRUE(WaitUntil([&] {
        first = CaptureScreen();
        facts = Examine(first);
        return first.At(5, 5) == 0 && facts.coloured > 0 && facts.offRim * 10 < facts.coloured;
    }, 10000)) << "no frame of discs on black appeared";
    first.SaveBmp(JoinPath(FreshFolder("fullscreen-picture"), "screen.bmp"));

    const double screenArea = static_cast<double>(width) * height;
    EXPECT_EQ(facts.offRim, 0) << "every disc pixel is a fully saturated rainbow colour";
    EXPECT_EQ(facts.beyondReach, 0) << "nothing is drawn outside the cloud's reach from the centre";
    EXPECT_GE(facts.busyHueBins, 3) << "several distinct hues";
    EXPECT_GT(facts.coloured, screenArea * 0.002);
    EXPECT_LT(facts.coloured, screenArea * 0.25) << "the rest of the screen is black";
    EXPECT_NEAR(facts.centroidX, width / 2.0, 100.0);
    EXPECT_NEAR(facts.centroidY, height / 2.0, 100.0);

    // The animation moves on: a later frame differs.
    EXPECT_TRUE(WaitUntil([&] {
        Screenshot later = CaptureScreen();
        return later.pixels != first.pixels && Examine(later).coloured > 0;
    }, 3000)) << "the picture did not change";
    EXPECT_TRUE(saver.Running());

    ASSERT_TRUE(PressKey('A'));
    ExpectEndsWithZero(saver, "key after the picture");
}

TEST_F(FullScreenSaver, KeyClickAndMouseMoveOfFiveEndIt)
{
    const struct {
        const char* name;
        bool (*send)();
    } cases[] = {
        {"key A", [] { return PressKey('A'); }},
        {"space", [] { return PressKey(VK_SPACE); }},
        {"Alt (a system key)", [] { return PressKey(VK_MENU); }},
        {"left click", ClickLeft},
        {"right click", ClickRight},
        {"move 3 right, 2 down", [] { return MoveCursorBy(3, 2); }},
        {"move 5 left", [] { return MoveCursorBy(-5, 0); }},
        {"move 1 left, 4 up", [] { return MoveCursorBy(-1, -4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlaceCursor(width / 2, height / 2));
        Process saver;
        ASSERT_NE(StartFullScreenSaver(saver, SaverPath()), nullptr);
        ASSERT_TRUE(c.send());
        ExpectEndsWithZero(saver, c.name);
    }
}

TEST_F(FullScreenSaver, MovesOfFourOrLessDoNotEndItButTheyAddUp)
{
    // Each step is a relative move; the saver must survive every step but the
    // last, which brings the summed distance from the start to 5 or more.
    const struct {
        const char* name;
        std::vector<POINT> steps;
    } cases[] = {
        {"2 right 2 down, then 1 right", {{2, 2}, {1, 0}}},
        {"4 left, then 1 down", {{-4, 0}, {0, 1}}},
        {"single pixels", {{1, 0}, {0, 1}, {1, 0}, {0, -1}, {0, -1}, {-1, 0}, {0, -3}}},
        {"out and back, then 5 up", {{3, 1}, {-3, -1}, {2, 0}, {-2, 0}, {0, -5}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlaceCursor(width / 2, height / 2));
        Process saver;
        HWND window = StartFullScreenSaver(saver, SaverPath());
        ASSERT_NE(window, nullptr);
        for (size_t i = 0; i + 1 < c.steps.size(); ++i) {
            ASSERT_TRUE(MoveCursorBy(c.steps[i].x, c.steps[i].y)) << "step " << i;
            // Each step on its own: the saver reads the cursor when it handles
            // the move, so steps it handled together would count as one.
            ASSERT_TRUE(StaysShown(window, 300)) << "a summed move of 4 or less ended the saver, step " << i;
        }
        ASSERT_TRUE(saver.Running());
        ASSERT_TRUE(MoveCursorBy(c.steps.back().x, c.steps.back().y));
        ExpectEndsWithZero(saver, c.name);
    }
}

TEST_F(FullScreenSaver, SecondLaunchReturnsZeroAtOnceAndLeavesTheFirstInFront)
{
    Process first;
    HWND window = StartFullScreenSaver(first, SaverPath());
    ASSERT_NE(window, nullptr);

    for (const char* args : {"/s", "-S"}) {
        SCOPED_TRACE(args);
        Process second;
        ASSERT_TRUE(second.Start(SaverPath(), args));
        WindowSightings seen;
        std::int32_t code = 1234;
        ASSERT_TRUE(WatchUntilExit(second, 5000, &code, &seen)) << "the second saver did not return";
        EXPECT_EQ(code, 0);
        EXPECT_EQ(seen.windows, 0) << "the second saver made a window of class '" << seen.firstClass << "'";
        EXPECT_TRUE(StaysShown(window, 300)) << "the first saver closed";
        EXPECT_TRUE(WaitUntil([window] { return GetForegroundWindow() == window; }, 2000));
    }

    ASSERT_TRUE(PressKey('A'));
    ExpectEndsWithZero(first, "key to the first saver");
}

}  // namespace
