// What the draw log cannot show: the platform calls at creation, on a tick and
// at destruction; every message's way to DefaultSaverProc; shape ids outside
// the six; a clock set back. The drawing seam here records each call as text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

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
void CreateBackBuffer(HWND window, std::int32_t w, std::int32_t h) { Record("create %p %d %d", window, w, h); }
void ClearBackBuffer(std::int32_t w, std::int32_t h) { Record("clear %d %d", w, h); }
void DrawDisc(std::uint32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { Record("disc"); }
void CopyToWindow(HWND window, std::int32_t w, std::int32_t h) { Record("copy %p %d %d", window, w, h); }
void FreeBackBuffer() { Record("free"); }
std::time_t ReadClock() { return clockNow; }

std::int32_t ReadScreenWidth()
{
    Record("width");
    return 1023;
}

std::int32_t ReadScreenHeight()
{
    Record("height");
    return 767;
}

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record("default %p %u %zu %zd", window, message, wParam, lParam);
    return defaultResult;
}

TEST(SaverProc, CallsThePlatformInOrderThenHandsTheMessageOnAndReturnsTheDefaultResult)
{
    HWND const window = reinterpret_cast<HWND>(0x5A);
    Calls tick{"clear 1023 767"};
    tick.insert(tick.end(), 600, "disc");
    tick.insert(tick.end(), {"copy 0x5a 1023 767", "default 0x5a 275 154 1"});
    // message, wParam, lParam, the result of DefaultSaverProc, the calls in order
    const std::tuple<UINT, WPARAM, LPARAM, LRESULT, Calls> cases[] = {
        {WM_CREATE, 7, -8, -1,
         {"start 0x5a 154 50", "width", "height", "create 0x5a 1023 767", "clear 1023 767", "default 0x5a 1 7 -8"}},
        {WM_TIMER, 154, 1, INTPTR_MAX, tick},
        {0x0200, UINTPTR_MAX, INTPTR_MIN, INTPTR_MIN, {"default 0x5a 512 18446744073709551615 -9223372036854775808"}},
        {0x8000, 0, INTPTR_MAX, 42, {"default 0x5a 32768 0 9223372036854775807"}},
        {WM_DESTROY, 1, 2, 1, {"free", "stop 0x5a 154", "default 0x5a 2 1 2"}},
    };
    for (const auto& [message, wParam, lParam, result, expected] : cases) {
        calls.clear();
        defaultResult = result;
        EXPECT_EQ(SaverProc(window, message, wParam, lParam), result) << message;
        EXPECT_EQ(calls, expected) << message;
    }
}

TEST(Animation, IgnoresShapeIdsOutsideTheSixAndAClockSetBackUntilItIsMoreThanTenSecondsPastShapeClock)
{
    clockNow = 1000;
    SaverProc(nullptr, WM_CREATE, 0, 0);
    GenerateShape(kShapeWaveSheet);
    const PointSet points = pointSet;
    const ShapeState state = shapeState;
    GenerateShape(6);
    GenerateShape(-1);
    EXPECT_EQ(std::memcmp(&points, &pointSet, sizeof points), 0);
    EXPECT_EQ(std::memcmp(&state, &shapeState, sizeof state), 0);
    for (const std::time_t now : {999, 0, 1010, 1011}) {
        clockNow = now;
        RenderFrame();
        EXPECT_EQ(shapeState.morphCounter, now == 1011 ? 1 : kMorphIdle) << now;
        EXPECT_EQ(shapeState.shapeClock, now == 1011 ? 1011 : 1000) << now;
    }
}
