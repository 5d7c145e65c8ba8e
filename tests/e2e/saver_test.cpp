// vimra.scr end to end: /s, the picture it puts on the screen, the input that
// ends it and the input that does not, and the single full-screen instance;
// /p and /l, the preview inside a pane that another process owns (as the
// display settings' pane is); command lines refused with -1 before anything
// is shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

class Saver : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
        ASSERT_TRUE(PlaceCursor(width / 2, height / 2));
    }

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
};

// The farthest a disc pixel gets from the centre of the picture: the farthest
// point of any shape is a wave-sheet corner, |(-476, 200, z)| with |z| <= 16,
// about 516.6 pixels (a morph never goes beyond both its ends); a 16 x 16
// disc adds at most 8 * sqrt(2).
constexpr double kCloudReach = 516.6 + 8.0 * 1.4143 + 2.0;

struct PictureFacts {
    long coloured = 0;     // pixels that are not black
    long offRim = 0;       // coloured pixels that are not fully saturated rainbow colours
    long beyondReach = 0;  // coloured pixels farther than kCloudReach from the centre
    double centroidX = 0, centroidY = 0;
    int busyHueBins = 0;   // 30-degree hue bins holding at least 1% of the coloured pixels
};

PictureFacts Examine(const Screenshot& shot)
{
    PictureFacts facts;
    long hueBins[12] = {};
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t pixel = shot.At(x, y);
            if (pixel == 0) continue;
            ++facts.coloured;
            facts.centroidX += x;
            facts.centroidY += y;
            if (std::hypot(x + 0.5 - shot.width / 2, y + 0.5 - shot.height / 2) > kCloudReach) ++facts.beyondReach;
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            if (std::max({r, g, b}) != 255 || std::min({r, g, b}) != 0) {
                ++facts.offRim;
                continue;
            }
            // Hue in degrees (0 red, 120 green, 240 blue), in 30-degree bins.
            const double hue = std::atan2(std::sqrt(3.0) * (g - b), 2.0 * r - g - b) * 180.0 / 3.14159265358979;
            ++hueBins[static_cast<int>((hue + 360.0) / 30.0) % 12];
        }
    }
    if (facts.coloured) {
        facts.centroidX /= facts.coloured;
        facts.centroidY /= facts.coloured;
        for (long count : hueBins) facts.busyHueBins += count * 100 >= facts.coloured ? 1 : 0;
    }
    return facts;
}

TEST_F(Saver, CoversTheScreenWithMovingRainbowDiscsAroundTheCentreAndStaysTheOnlyOne)
{
    // A white window standing for the desktop that the saver has to cover.
    HWND backdrop = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, width, height,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(backdrop, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        const Screenshot shot = CaptureScreen();
        return shot.width > 0 && shot.At(5, 5) == 0xFFFFFF && shot.At(width / 2, height / 2) == 0xFFFFFF;
    }, 10000)) << "the white backdrop never showed";

    Process saver;
    HWND window = StartFullScreenSaver(saver, SaverPath());
    ASSERT_NE(window, nullptr);

    // A drawn frame: the white gone everywhere, discs on black.
    Screenshot first;
    PictureFacts facts;
    ASSERT_TRUE(WaitUntil([&] {
        first = CaptureScreen();
        facts = Examine(first);
        return first.At(5, 5) == 0 && facts.coloured > 0 && facts.offRim * 10 < facts.coloured;
    }, 10000)) << "no frame of discs on black appeared";
    const double screenArea = static_cast<double>(width) * height;
    EXPECT_EQ(facts.offRim, 0) << "every disc pixel is a fully saturated rainbow colour";
    EXPECT_EQ(facts.beyondReach, 0) << "nothing is drawn outside the cloud's reach from the centre";
    EXPECT_GE(facts.busyHueBins, 3) << "several distinct hues";
    EXPECT_GT(facts.coloured, screenArea * 0.002);
    EXPECT_LT(facts.coloured, screenArea * 0.25) << "the rest of the screen is black";
    EXPECT_NEAR(facts.centroidX, width / 2.0, 100.0);
    EXPECT_NEAR(facts.centroidY, height / 2.0, 100.0);
    EXPECT_TRUE(WaitUntil([&] { return CaptureScreen().pixels != first.pixels; }, 3000)) << "the picture stood still";

    // A second saver returns 0 at once, shows nothing and leaves this one in front.
    Process second;
    ASSERT_TRUE(second.Start(SaverPath(), "/s"));
    WindowSightings seen;
    std::int32_t code = 1234;
    ASSERT_TRUE(WatchUntilExit(second, 5000, &code, &seen)) << "the second saver did not return";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen.windows, 0) << "the second saver made a window of class '" << seen.firstClass << "'";
    EXPECT_TRUE(StaysShown(window, 300)) << "the first saver closed";
    EXPECT_TRUE(WaitUntil([window] { return GetForegroundWindow() == window; }, 2000));

    ASSERT_TRUE(PressKey('A'));
    ExpectSaverEndsWithZero(saver, "key after the picture");
    DestroyWindow(backdrop);
}

// Each case: moves the saver must survive, each on its own, then the input
// that must end it. Distances are summed |dx| + |dy| from where the cursor
// was at the start: 4 or less leaves the saver running, 5 ends it.
TEST_F(Saver, KeysClicksAndMovesOfFiveEndItMovesOfFourDoNot)
{
    const struct {
        const char* name;
        std::vector<POINT> survived;
        bool (*end)();
    } cases[] = {
        {"key A", {}, [] { return PressKey('A'); }},
        {"Alt (a system key)", {}, [] { return PressKey(VK_MENU); }},
        {"left click", {}, ClickLeft},
        {"right click", {}, ClickRight},
        {"move 3 right, 2 down", {}, [] { return MoveCursorBy(3, 2); }},
        {"2 right 2 down, then 1 right", {{2, 2}}, [] { return MoveCursorBy(1, 0); }},
        {"4 left, back, 4 down, then 1 left", {{-4, 0}, {4, 0}, {0, 4}}, [] { return MoveCursorBy(-1, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlaceCursor(width / 2, height / 2));
        Process saver;
        HWND window = StartFullScreenSaver(saver, SaverPath());
        ASSERT_NE(window, nullptr);
        for (const POINT& move : c.survived) {
            ASSERT_TRUE(MoveCursorBy(move.x, move.y));
            // Handled one at a time: the saver reads the cursor when it takes
            // a move, so moves it took together would count as one.
            ASSERT_TRUE(StaysShown(window, 300)) << "ended at a summed move of 4 or less";
        }
        ASSERT_TRUE(c.end());
        ExpectSaverEndsWithZero(saver, c.name);
    }
}

// ---------------------------------------------------------------- preview

std::string Decimal(HWND window)
{
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

// A stand-in for the display settings dialog: a window with a pane of the
// given client size, into which the saver is asked to draw.
struct SettingsWindow {
    SettingsWindow(int paneWidth, int paneHeight)
        : top(CreateWindowExA(0, "STATIC", "Settings", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                              nullptr, nullptr)),
          pane(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 40, 40, paneWidth, paneHeight, top, nullptr,
                               nullptr, nullptr))
    {
        SetForegroundWindow(top);
    }
    ~SettingsWindow() { DestroyWindow(top); }
    HWND top;
    HWND pane;
};

TEST_F(Saver, FillsAPaneOfAnotherProcessIgnoresInputAndEndsWithItsParent)
{
    const struct {
        const char* form;  // the command line, %s the pane's handle
        int width, height;
    } cases[] = {{"/p %s", 152, 112}, {"/l %s", 0, 0}};  // an empty pane still gets a child of its size
    for (const auto& c : cases) {
        SettingsWindow settings(c.width, c.height);
        ASSERT_NE(settings.pane, nullptr);
        char args[64];
        std::snprintf(args, sizeof args, c.form, Decimal(settings.pane).c_str());
        SCOPED_TRACE(args);

        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), args));
        // Found once shown: the style's visible bit is set at the end of its creation.
        HWND preview = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            preview = FindWindowExA(settings.pane, nullptr, kSaverClass, nullptr);
            return preview && (GetWindowLongA(preview, GWL_STYLE) & WS_VISIBLE);
        }, 15000)) << "no preview shown inside the pane";
        EXPECT_EQ(ProcessOfWindow(preview), saver.Id());
        RECT where, client;
        GetWindowRect(preview, &where);
        GetClientRect(preview, &client);
        POINT paneOrigin{0, 0};
        ClientToScreen(settings.pane, &paneOrigin);
        EXPECT_TRUE(where.left == paneOrigin.x && where.top == paneOrigin.y && client.right == c.width &&
                    client.bottom == c.height);
        EXPECT_EQ(FindTopLevel(saver.Id(), kSaverClass, nullptr), nullptr) << "a preview made a top-level window";

        if (c.width > 0) {
            ASSERT_TRUE(PlaceCursor(where.left + c.width / 2, where.top + c.height / 2));
            ASSERT_TRUE(ClickLeft() && ClickRight() && MoveCursorBy(30, 20) && PressKey('A'));
            EXPECT_TRUE(StaysShown(preview, 1000)) << "input ended the preview";
        }
        DestroyWindow(settings.top);
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code)) << "the preview outlived its parent";
        EXPECT_EQ(code, 0);
    }
}

TEST_F(Saver, RefusedCommandLinesEndWithMinusOneAndShowNothing)
{
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(gone && DestroyWindow(gone));
    SettingsWindow settings(152, 112);
    ASSERT_NE(settings.pane, nullptr);
    // The last is the watch's own check: a preview it has to see.
    const struct {
        std::string args;
        bool refused;
    } cases[] = {{"/x", true}, {"/p " + Decimal(gone), true}, {"/p " + Decimal(settings.pane), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        Process saver;
        ASSERT_TRUE(saver.Start(SaverPath(), c.args));
        WindowSightings seen;
        std::int32_t code = 1234;
        EXPECT_EQ(WatchUntilExit(saver, 5000, &code, &seen), c.refused);
        if (c.refused) {
            EXPECT_EQ(code, -1);
            EXPECT_EQ(seen.windows, 0) << "a window was made, first of class '" << seen.firstClass << "'";
        } else {
            EXPECT_GE(seen.windows, 1) << "the watch missed the preview";
        }
    }
}

}  // namespace
