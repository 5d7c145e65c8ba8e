// What the draw log cannot show: the platform calls at creation, on a tick and
// at destruction; every message's way to DefaultSaverProc; shape ids outside
// the six; a clock set back. The drawing seam here records each call as text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "cloud.h"
#include "platform.h"
#include "point_set.h"
#include "saver_proc.h"

typedef std::vector<std::string> Calls;

static Calls calls;
static std::time_t clockNow;
static LRESULT defaultResult;

template <typename... Args>
static void Record(const char* format, Args... args)
{
    char call[96];
    std::snprintf(call, sizeof call, format, args...);
    calls.push_back(call);
}

void StartFrameTimer(HWND window, UINT id, UINT periodMs) { Record("start %p %u %u", window, id, periodMs); }
void StopFrameTimer(HWND window, UINT id) { Record("stop %p %u", window, id); }
void CreateBackBuffer(HWND window, std::int32_t s, std::int32_t w, std::int32_t h) { Record("create %p %d %d %d", window, s, w, h); }
void ClearBackBuffer(std::int32_t s, std::int32_t w, std::int32_t h) { Record("clear %d %d %d", s, w, h); }
void DrawDisc(std::int32_t s, std::uint32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { Record("disc %d", s); }
void CopyToWindow(HWND window, std::int32_t s, std::int32_t w, std::int32_t h) { Record("copy %p %d %d %d", window, s, w, h); }
void FreeBackBuffer(std::int32_t s) { Record("free %d", s); }
std::time_t ReadClock() { return clockNow; }

// The screens the window shows; the first ones read 1023 x 767 and 640 x 480.
static std::int32_t screenCount = 1;

std::int32_t ReadScreens(HWND window, ScreenSize sizes[kMaxScreens])
{
    Record("screens %p", window);
    sizes[0] = {1023, 767};
    sizes[1] = {640, 480};
    return screenCount;
}

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record("default %p %u %zu %zd", window, message, wParam, lParam);
    return defaultResult;
}

// The calls of one frame on screen s, which reads width x height.
static Calls Frame(int s, const char* size)
{
    Calls frame{"clear " + std::to_string(s) + " " + size};
    frame.insert(frame.end(), 600, "disc " + std::to_string(s));
    frame.push_back("copy 0x5a " + std::to_string(s) + " " + size);
    return frame;
}

static Calls Join(std::initializer_list<Calls> parts)
{
    Calls joined;
    for (const Calls& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

TEST(SaverProc, CallsThePlatformInOrderOnEveryScreenThenHandsTheMessageOnAndReturnsTheDefaultResult)
{
    HWND const window = reinterpret_cast<HWND>(0x5A);
    // screens read, message, wParam, lParam, the result of DefaultSaverProc, the calls in order
    const std::tuple<std::int32_t, UINT, WPARAM, LPARAM, LRESULT, Calls> cases[] = {
        {1, WM_CREATE, 7, -8, -1,
         {"start 0x5a 154 50", "screens 0x5a", "create 0x5a 0 1023 767", "clear 0 1023 767", "default 0x5a 1 7 -8"}},
        {1, WM_TIMER, 154, 1, INTPTR_MAX, Join({Frame(0, "1023 767"), {"default 0x5a 275 154 1"}})},
        {1, 0x0200, UINTPTR_MAX, INTPTR_MIN, INTPTR_MIN, {"default 0x5a 512 18446744073709551615 -9223372036854775808"}},
        {1, 0x8000, 0, INTPTR_MAX, 42, {"default 0x5a 32768 0 9223372036854775807"}},
        {2, WM_DISPLAYCHANGE, 32, 3, 5,
         {"free 0", "screens 0x5a", "create 0x5a 0 1023 767", "clear 0 1023 767", "create 0x5a 1 640 480",
          "clear 1 640 480", "default 0x5a 126 32 3"}},
        {2, WM_TIMER, 154, 0, 0, Join({Frame(0, "1023 767"), Frame(1, "640 480"), {"default 0x5a 275 154 0"}})},
        {1, WM_DISPLAYCHANGE, 0, 0, 0,
         {"free 0", "free 1", "screens 0x5a", "create 0x5a 0 1023 767", "clear 0 1023 767", "default 0x5a 126 0 0"}},
        {1, WM_DESTROY, 1, 2, 1, {"free 0", "stop 0x5a 154", "default 0x5a 2 1 2"}},
    };
    for (const auto& [screens, message, wParam, lParam, result, expected] : cases) {
        calls.clear();
        screenCount = screens;
        defaultResult = result;
        EXPECT_EQ(SaverProc(window, message, wParam, lParam), result) << message;
        EXPECT_EQ(calls, expected) << message;
    }
}

// Each screen's cloud goes its own way: a second monitor's first shape is the
// primary's no more often than chance has it (1 in 6). After a change of the
// displays the clouds that still have a screen go on where they were; a
// screen that came starts afresh.
TEST(SaverProc, GivesEachScreenACloudOfItsOwnAndKeepsThemThroughADisplayChange)
{
    screenCount = 2;
    int sameFirstShape = 0;
    for (clockNow = 1765000000; clockNow < 1765000300; ++clockNow) {
        SaverProc(nullptr, WM_CREATE, 0, 0);
        sameFirstShape += clouds[0].shapeState.currentShape == clouds[1].shapeState.currentShape;
        SaverProc(nullptr, WM_DESTROY, 0, 0);
    }
    EXPECT_LT(sameFirstShape, 75) << "of 300 starts began with the same shape on both monitors";
    clockNow = 5000;
    SaverProc(nullptr, WM_CREATE, 0, 0);
    for (int tick = 0; tick < 40; ++tick) SaverProc(nullptr, WM_TIMER, kFrameTimerId, 0);
    const Cloud before = clouds[0];
    screenCount = 1;
    SaverProc(nullptr, WM_DISPLAYCHANGE, 0, 0);
    screenCount = 2;
    SaverProc(nullptr, WM_DISPLAYCHANGE, 0, 0);
    EXPECT_TRUE(before.angleX == clouds[0].angleX && before.angleX != 0 &&
                std::memcmp(&before.shapeState, &clouds[0].shapeState, sizeof before.shapeState) == 0 &&
                std::memcmp(&before.pointSet, &clouds[0].pointSet, sizeof before.pointSet) == 0)
        << "the primary's cloud started again";
    EXPECT_EQ(clouds[1].angleX, 0) << "a monitor that came back did not start afresh";
    SaverProc(nullptr, WM_DESTROY, 0, 0);
    screenCount = 1;
}

TEST(Animation, IgnoresShapeIdsOutsideTheSixAndAClockSetBackUntilItIsMoreThanTenSecondsPastShapeClock)
{
    clockNow = 1000;
    SaverProc(nullptr, WM_CREATE, 0, 0);
    Cloud& cloud = clouds[0];
    GenerateShape(cloud, kShapeWaveSheet);
    const PointSet points = cloud.pointSet;
    const ShapeState state = cloud.shapeState;
    GenerateShape(cloud, 6);
    GenerateShape(cloud, -1);
    EXPECT_EQ(std::memcmp(&points, &cloud.pointSet, sizeof points), 0);
    EXPECT_EQ(std::memcmp(&state, &cloud.shapeState, sizeof state), 0);
    for (const std::time_t now : {999, 0, 1010, 1011}) {
        clockNow = now;
        RenderFrame(0);
        EXPECT_EQ(cloud.shapeState.morphCounter, now == 1011 ? 1 : kMorphIdle) << now;
        EXPECT_EQ(cloud.shapeState.shapeClock, now == 1011 ? 1011 : 1000) << now;
    }
}
