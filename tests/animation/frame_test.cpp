#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "point_set.h"
#include "recorder_platform.h"
#include "saver_proc.h"

namespace {

HWND const kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5A5A));

class Frame : public ::testing::Test {
protected:
    void SetUp() override { ResetAnimation(); }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SaverProc(kWindow, message, wParam, lParam);
    }

    void Create(std::time_t clock)
    {
        recorder.clock = clock;
        Send(WM_CREATE);
        recorder.calls.clear();
        recorder.defaultCalls.clear();
    }

    void Tick() { Send(WM_TIMER, kFrameTimerId); }

    // Makes the next tick draw exactly `points`: a morph whose start and end
    // are both these points, and angles that wrap to 0 on that tick.
    void Inject(const Point* points, int count)
    {
        for (int n = 0; n < kPointCount; ++n) {
            const Point p = n < count ? points[n] : Point{0, 0, -1000};
            morphFrom.x[n] = morphTo.x[n] = p.x;
            morphFrom.y[n] = morphTo.y[n] = p.y;
            morphFrom.z[n] = morphTo.z[n] = p.z;
        }
        shapeState.morphCounter = 0;
        shapeState.shapeClock = recorder.clock;
        angleX = angleY = angleZ = 358.5f;
        recorder.calls.clear();
    }
};

TEST_F(Frame, CreationStartsTimerMakesBufferAndClearsWithoutDrawing)
{
    recorder.clock = 1;
    recorder.screenWidth = 1023;
    recorder.screenHeight = 767;
    recorder.defaultResult = 77;
    EXPECT_EQ(Send(WM_CREATE, 5, 6), 77);

    const Op expected[] = {Op::StartTimer, Op::ScreenWidth, Op::ScreenHeight, Op::CreateBuffer, Op::Clear};
    ASSERT_EQ(recorder.calls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(recorder.calls[i].op, expected[i]) << i;
    }
    EXPECT_EQ(recorder.calls[0].window, kWindow);
    EXPECT_EQ(recorder.calls[0].a, 154);
    EXPECT_EQ(recorder.calls[0].b, 50);
    EXPECT_EQ(recorder.calls[3].window, kWindow);
    EXPECT_EQ(recorder.calls[3].a, 1023);
    EXPECT_EQ(recorder.calls[3].b, 767);
    EXPECT_EQ(recorder.calls[4].a, 1023);
    EXPECT_EQ(recorder.calls[4].b, 767);

    ASSERT_EQ(recorder.defaultCalls.size(), 1u);
    EXPECT_EQ(recorder.defaultCalls[0].message, WM_CREATE);
    EXPECT_EQ(recorder.defaultCalls[0].wParam, 5u);
    EXPECT_EQ(recorder.defaultCalls[0].lParam, 6);

    EXPECT_EQ(discSize.width, 16);
    EXPECT_EQ(discSize.height, 16);
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
    EXPECT_EQ(shapeState.shapeClock, 1);
    EXPECT_EQ(shapeState.twistStep, 2);
    // Seeded with 1, the first draw is 41: shape 5, the torus, shown at once.
    EXPECT_EQ(shapeState.currentShape, kShapeTorus);
    EXPECT_EQ(pointSet.points[0].x, 270.0f);
}

TEST_F(Frame, TickClearsDrawsSixHundredDiscsThenCopiesTheWholeScreen)
{
    recorder.screenWidth = 800;
    recorder.screenHeight = 600;
    Create(1);
    recorder.defaultResult = -3;
    EXPECT_EQ(Send(WM_TIMER, 999, 4), -3);  // the timer id is not examined

    ASSERT_EQ(recorder.calls.size(), 602u);
    EXPECT_EQ(recorder.calls.front().op, Op::Clear);
    EXPECT_EQ(recorder.calls.front().a, 800);
    EXPECT_EQ(recorder.calls.front().b, 600);
    for (std::size_t i = 1; i <= 600; ++i) {
        ASSERT_EQ(recorder.calls[i].op, Op::Disc) << i;
    }
    const PlatformCall& copy = recorder.calls.back();
    EXPECT_EQ(copy.op, Op::Copy);
    EXPECT_EQ(copy.window, kWindow);
    EXPECT_EQ(copy.a, 800);
    EXPECT_EQ(copy.b, 600);
    ASSERT_EQ(recorder.defaultCalls.size(), 1u);
    EXPECT_EQ(recorder.defaultCalls[0].message, WM_TIMER);
    EXPECT_EQ(recorder.defaultCalls[0].wParam, 999u);
}

TEST_F(Frame, DestructionFreesTheBufferThenStopsTheTimer)
{
    Create(1);
    Send(WM_DESTROY);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].op, Op::FreeBuffer);
    EXPECT_EQ(recorder.calls[1].op, Op::StopTimer);
    EXPECT_EQ(recorder.calls[1].window, kWindow);
    EXPECT_EQ(recorder.calls[1].a, 154);
    ASSERT_EQ(recorder.defaultCalls.size(), 1u);
    EXPECT_EQ(recorder.defaultCalls[0].message, WM_DESTROY);
}

TEST_F(Frame, OtherMessagesReachTheDefaultUnchangedAndDoNothingElse)
{
    Create(1);
    const PointSet before = pointSet;
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } const cases[] = {
        {0x0000, 0, 0}, {0x0003, 1, 2}, {0x000F, 0, 0}, {0x0010, 0, 0}, {0x0100, 0x41, 0x1E0001},
        {0x0112, 0xF140, -1}, {0x0114, 154, 0}, {0x8000, 0, 0}, {0xFFFFFFFFu, ~WPARAM(0), -12345},
    };
    for (const Case& c : cases) {
        recorder.defaultResult = static_cast<LRESULT>(c.message) + 1;
        EXPECT_EQ(Send(c.message, c.wParam, c.lParam), static_cast<LRESULT>(c.message) + 1);
        ASSERT_FALSE(recorder.defaultCalls.empty());
        const DefaultCall& d = recorder.defaultCalls.back();
        EXPECT_EQ(d.window, kWindow);
        EXPECT_EQ(d.message, c.message);
        EXPECT_EQ(d.wParam, c.wParam);
        EXPECT_EQ(d.lParam, c.lParam);
    }
    EXPECT_EQ(recorder.defaultCalls.size(), std::size(cases));
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(std::memcmp(&before, &pointSet, sizeof before), 0);
}

TEST_F(Frame, FirstTickTurnsByOneAndAHalfDegreesAndRegeneratesTheFirstShape)
{
    Create(3);  // seed 3 picks the wave sheet
    ASSERT_EQ(shapeState.currentShape, kShapeWaveSheet);
    EXPECT_EQ(shapeState.wavePhase, 1);
    Tick();
    EXPECT_EQ(angleX, 1.5f);
    EXPECT_EQ(angleY, 1.5f);
    EXPECT_EQ(angleZ, 1.5f);
    EXPECT_EQ(shapeState.wavePhase, 2);
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
}

TEST_F(Frame, AnglesRunA240FrameCycleAndNeverHold360)
{
    Create(1);
    for (int k = 1; k <= 480; ++k) {
        Tick();
        const float expected = static_cast<float>(std::fmod(1.5 * k, 360.0));
        ASSERT_EQ(angleX, expected) << k;
        ASSERT_EQ(angleY, expected) << k;
        ASSERT_EQ(angleZ, expected) << k;
    }
    EXPECT_EQ(angleX, 0.0f);
}

TEST_F(Frame, ANewShapeIsPickedOnlyWhenTheClockIsMoreThanTenSecondsOn)
{
    Create(100);
    const ShapeId first = shapeState.currentShape;
    recorder.clock = 110;
    Tick();
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
    EXPECT_EQ(shapeState.currentShape, first);
    EXPECT_EQ(shapeState.shapeClock, 100);

    recorder.clock = 111;
    Tick();
    EXPECT_EQ(shapeState.morphCounter, 1);  // the first step ran in the pick's frame
    EXPECT_NE(shapeState.currentShape, first);
    EXPECT_EQ(shapeState.shapeClock, 111);
}

TEST_F(Frame, ClockSetBackPicksNothingUntilItIsAgainPastTheInterval)
{
    Create(1000);
    const ShapeId first = shapeState.currentShape;
    for (std::time_t clock : {1000 - 3600, 990, 1010}) {
        recorder.clock = clock;
        Tick();
        EXPECT_EQ(shapeState.currentShape, first) << clock;
    }
    recorder.clock = 1011;
    Tick();
    EXPECT_NE(shapeState.currentShape, first);
}

// An independent model of the picks: the generator's formula and the draw
// that repeats while it names the current shape.
TEST_F(Frame, PicksFollowTheGeneratorAndNeverRepeatTheCurrentShape)
{
    const std::uint32_t seed = 1234567;
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    };
    int model = next() % 6;

    Create(seed);
    ASSERT_EQ(shapeState.currentShape, model);
    for (int pick = 0; pick < 300; ++pick) {
        recorder.clock += 11;  // every tick is a pick, even during a morph
        Tick();
        int k = next() % 6;
        while (k == model) {
            k = next() % 6;
        }
        ASSERT_NE(shapeState.currentShape, model) << pick;
        model = k;
        ASSERT_EQ(shapeState.currentShape, model) << pick;
        ASSERT_EQ(shapeState.morphCounter, 1) << pick;  // restarted each time
    }
}

// In the pick's frame: twistAngle is reset before the target is generated,
// the morph starts from the cloud as it was drawn, and its first step shows
// exactly that cloud.
TEST_F(Frame, PickFrameResetsTwistThenBeginsMorphThenSteps)
{
    Create(10);  // seed 10: the torus first, the twisted tower at the first pick
    Tick();
    const PointSet drawn = pointSet;
    shapeState.twistAngle = 30;
    recorder.clock = 21;
    Tick();
    ASSERT_EQ(shapeState.currentShape, kShapeTwistedTower);
    EXPECT_EQ(morphTo.x[0], -80.0f);  // generated untwisted
    EXPECT_EQ(morphTo.y[0], -80.0f);
    EXPECT_EQ(shapeState.twistAngle, 2);
    for (int n = 0; n < kPointCount; ++n) {
        ASSERT_EQ(morphFrom.x[n], drawn.points[n].x) << n;
        ASSERT_EQ(pointSet.points[n].x, drawn.points[n].x) << n;
        ASSERT_EQ(pointSet.points[n].z, drawn.points[n].z) << n;
    }
}

TEST_F(Frame, MorphRunsEightyFramesThenTheShapeStandsForTenToElevenSeconds)
{
    Create(10);
    recorder.clock = 21;
    Tick();  // pick: step 0
    for (int step = 1; step < 80; ++step) {
        EXPECT_EQ(shapeState.morphCounter, step);
        Tick();
    }
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
    recorder.clock = 31;  // 10 seconds after the morph ended: not yet
    Tick();
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
    recorder.clock = 32;
    Tick();
    EXPECT_EQ(shapeState.morphCounter, 1);
}

// Ticks that come late: the schedule counts seconds, not frames.
TEST_F(Frame, SlowTicksPickByTheClockNotByTheFrameCount)
{
    Create(0);
    int picks = 0;
    ShapeId shape = shapeState.currentShape;
    for (int k = 1; k <= 100; ++k) {
        recorder.clock = 3 * k;  // one frame every 3 seconds
        Tick();
        if (shapeState.currentShape != shape) {
            ++picks;
            shape = shapeState.currentShape;
            EXPECT_EQ(shapeState.shapeClock, recorder.clock);
        }
    }
    // 300 s at one pick per 12 s (the first tick past 11 s after the last): 25.
    EXPECT_EQ(picks, 25);
}

TEST_F(Frame, EqualDepthsAreDrawnInPointOrderAndDepthsAscend)
{
    recorder.screenWidth = 0;
    recorder.screenHeight = 0;
    Create(1);
    Point points[kPointCount];
    for (int n = 0; n < kPointCount; ++n) {
        points[n] = {static_cast<float>(n), 0, static_cast<float>((n * 7) % 5)};
    }
    Inject(points, kPointCount);
    Tick();
    const auto discs = recorder.Discs();
    ASSERT_EQ(discs.size(), 600u);
    int previousDepth = -1;
    int previousIndex = -1;
    for (const PlatformCall& disc : discs) {
        const int index = disc.a + 8;
        const int depth = (index * 7) % 5;
        ASSERT_GE(depth, previousDepth);
        if (depth == previousDepth) {
            ASSERT_GT(index, previousIndex);
        }
        previousDepth = depth;
        previousIndex = index;
    }
}

TEST_F(Frame, CoordinatesTruncateTowardZeroAndDiscsAre16PixelsAroundThePoint)
{
    struct Case {
        std::int32_t screenWidth, screenHeight;
        Point point;
        std::int32_t left, top, right, bottom;
    } const cases[] = {
        {0, 0, {100, 50, 0}, 92, 42, 108, 58},
        {0, 0, {-0.5f, 599.9f, 0}, -8, 591, 8, 607},
        {0, 0, {-2.7f, 2.7f, 0}, -10, -6, 6, 10},
        {1023, 767, {0, 0, 0}, 503, 375, 519, 391},  // centre (511, 383)
        {1024, 768, {-512, -384, 0}, -8, -8, 8, 8},
    };
    for (const Case& c : cases) {
        SetUp();
        recorder.screenWidth = c.screenWidth;
        recorder.screenHeight = c.screenHeight;
        Create(1);
        Inject(&c.point, 1);
        for (int n = 1; n < kPointCount; ++n) {  // the others stay behind it
            morphFrom.z[n] = morphTo.z[n] = -1000;
        }
        Tick();
        const PlatformCall disc = recorder.Discs().back();
        EXPECT_EQ(disc.a, c.left);
        EXPECT_EQ(disc.b, c.top);
        EXPECT_EQ(disc.c, c.right);
        EXPECT_EQ(disc.d, c.bottom);
    }
}

// Colours follow the drawing order along the wheel from the frame's base.
TEST_F(Frame, ColoursFollowTheDrawingOrder)
{
    Create(1);
    Tick();
    const auto discs = recorder.Discs();
    struct Case {
        int disc;
        std::uint32_t colour;
    } const cases[] = {
        {0, 0x000AFF},    // (255, 10, 0): the base after the first frame advance
        {1, 0x000BFF},
        {245, 0x00FFFF},  // yellow
        {246, 0x00FFFE},  // (254, 255, 0)
        {500, 0x00FF00},  // green
        {599, 0x63FF00},  // (0, 255, 99)
    };
    for (const Case& c : cases) {
        EXPECT_EQ(discs[c.disc].colour, c.colour) << c.disc;
    }
    recorder.calls.clear();
    Tick();
    EXPECT_EQ(recorder.Discs()[0].colour, 0x0014FFu);  // the base moved 10 on
}

}  // namespace
