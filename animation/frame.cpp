// The frame pipeline: creation, one frame per tick on every screen, a change
// of the displays, destruction.
#include "angles.h"
#include "cloud.h"
#include "depth_sort.h"
#include "platform.h"
#include "point_set.h"
#include "random.h"
#include "saver_proc.h"
#include "transform.h"

Cloud clouds[kMaxScreens];
std::int32_t cloudCount;

namespace {

constexpr std::int32_t kDiscSide = 16;  // pixels
constexpr float kWrapBound = 360;       // degrees

// The primary's seed is the clock's reading. Another screen's is that reading
// plus the screen's number, hashed (MurmurHash3's finaliser): seeds a constant
// apart start the generator's draws nearly in step, and two monitors then
// began on the same shape 44 % of the time, where independent draws give 1/6.
std::uint32_t ScreenSeed(std::uint32_t clock, std::int32_t screen)
{
    if (screen == 0) {
        return clock;
    }
    std::uint32_t h = clock + static_cast<std::uint32_t>(screen);
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

// Screen s's cloud as at the start of a run: the disc size, still angles, the
// shape clock started and a first shape drawn from a seed read off the clock.
void StartCloud(Cloud& cloud, std::int32_t screen)
{
    cloud.discSize = {kDiscSide, kDiscSide};
    cloud.angleX = cloud.angleY = cloud.angleZ = 0;
    cloud.shapeState.shapeClock = ReadClock();
    cloud.shapeState.morphCounter = kMorphIdle;
    cloud.shapeState.twistAngle = 0;
    cloud.shapeState.twistStep = 2;
    cloud.shapeState.coilPhase = 0;
    cloud.randomState = ScreenSeed(static_cast<std::uint32_t>(ReadClock()), screen);
    cloud.shapeState.currentShape = NextRandom(cloud.randomState) % kShapeCount;
    GenerateShape(cloud, cloud.shapeState.currentShape);
}

// A back buffer for each of the window's screens, cleared. The first `kept`
// clouds go on as they were (on a screen of perhaps another size); the
// others start afresh.
void ShowClouds(HWND window, std::int32_t kept)
{
    ScreenSize sizes[kMaxScreens];
    cloudCount = ReadScreens(window, sizes);
    for (std::int32_t screen = 0; screen < cloudCount; ++screen) {
        Cloud& cloud = clouds[screen];
        cloud.screenSize = sizes[screen];
        CreateBackBuffer(window, screen, cloud.screenSize.width, cloud.screenSize.height);
        if (screen >= kept) {
            StartCloud(cloud, screen);
        }
        ClearBackBuffer(screen, cloud.screenSize.width, cloud.screenSize.height);
    }
}

void FreeBackBuffers()
{
    for (std::int32_t screen = 0; screen < cloudCount; ++screen) {
        FreeBackBuffer(screen);
    }
}

// Once the clock is more than kShapeInterval past shapeClock: a new shape,
// never the current one, and the first step of the morph towards it.
void PickShapeWhenDue(Cloud& cloud)
{
    ShapeState& state = cloud.shapeState;
    const double elapsed = static_cast<double>(ReadClock() - state.shapeClock);
    if (!(elapsed > kShapeInterval)) {
        return;
    }
    state.shapeClock = ReadClock();
    ShapeId next = NextRandom(cloud.randomState) % kShapeCount;
    while (next == state.currentShape) {
        next = NextRandom(cloud.randomState) % kShapeCount;
    }
    state.twistAngle = 0;
    BeginMorph(cloud, next);  // still sees the old currentShape
    state.morphCounter = 0;
    state.currentShape = next;
}

float AdvanceAngle(float angle)
{
    return static_cast<float>(static_cast<double>(angle) + kAngleStep);
}

float WrapAngle(float angle)
{
    return angle >= kWrapBound ? static_cast<float>(static_cast<double>(angle) - kWrapBound) : angle;
}

float AngleRadians(float degrees)
{
    return static_cast<float>(Radians(degrees));
}

std::uint32_t RunningColour(const ColourCycler& cycler)
{
    return (static_cast<std::uint32_t>(cycler.PointRed()) & 0xFF) |
           (static_cast<std::uint32_t>(cycler.PointGreen()) & 0xFF) << 8 |
           (static_cast<std::uint32_t>(cycler.PointBlue()) & 0xFF) << 16;
}

}  // namespace

void RenderFrame(std::int32_t screen)
{
    Cloud& cloud = clouds[screen];
    const ScreenSize size = cloud.screenSize;
    Transform transform;
    PickShapeWhenDue(cloud);

    if (cloud.shapeState.morphCounter == kMorphIdle) {
        GenerateShape(cloud, cloud.shapeState.currentShape);
    } else {
        MorphStep(cloud);
    }

    transform.Scale(1, 1, 1);
    cloud.angleX = AdvanceAngle(cloud.angleX);
    cloud.angleY = AdvanceAngle(cloud.angleY);
    cloud.angleZ = AdvanceAngle(cloud.angleZ);
    cloud.angleX = WrapAngle(cloud.angleX);
    cloud.angleY = WrapAngle(cloud.angleY);
    cloud.angleZ = WrapAngle(cloud.angleZ);
    transform.RotateX(AngleRadians(cloud.angleX));
    transform.RotateY(AngleRadians(cloud.angleY));
    transform.RotateZ(AngleRadians(cloud.angleZ));
    transform.Translate(static_cast<float>(size.width / 2), static_cast<float>(size.height / 2), 0);

    std::int32_t screenX[kPointCount];
    std::int32_t screenY[kPointCount];
    std::int32_t screenZ[kPointCount];
    for (int i = 0; i < kPointCount; ++i) {
        const Point& p = cloud.pointSet.points[i];
        transform.Apply(p.x, p.y, p.z);
        screenX[i] = static_cast<std::int32_t>(transform.transformed.x);
        screenY[i] = static_cast<std::int32_t>(transform.transformed.y);
        screenZ[i] = static_cast<std::int32_t>(transform.transformed.z);
    }
    SortByDepth(screenX, screenY, screenZ, kPointCount);

    ClearBackBuffer(screen, size.width, size.height);
    cloud.colourCycler.FrameAdvance();
    for (int i = 0; i < kPointCount; ++i) {
        const DiscSize& disc = cloud.discSize;
        const std::int32_t left = screenX[i] - disc.width / 2;
        const std::int32_t top = screenY[i] - disc.height / 2;
        DrawDisc(screen, RunningColour(cloud.colourCycler), left, top, left + disc.width, top + disc.height);
        cloud.colourCycler.PointAdvance();
    }
}

LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        StartFrameTimer(window, kFrameTimerId, kFrameInterval);
        ShowClouds(window, 0);
        break;
    case WM_DISPLAYCHANGE:
        // Monitors came, went or changed their size: the screens read afresh.
        FreeBackBuffers();
        ShowClouds(window, cloudCount);
        break;
    case WM_DESTROY:
        FreeBackBuffers();
        StopFrameTimer(window, kFrameTimerId);
        break;
    case WM_TIMER:
        for (std::int32_t screen = 0; screen < cloudCount; ++screen) {
            RenderFrame(screen);
            CopyToWindow(window, screen, clouds[screen].screenSize.width, clouds[screen].screenSize.height);
        }
        break;
    default:
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
