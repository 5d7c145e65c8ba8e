// The frame pipeline: creation, one frame per tick, destruction.
#include "angles.h"
#include "colour_cycler.h"
#include "depth_sort.h"
#include "platform.h"
#include "point_set.h"
#include "random.h"
#include "saver_proc.h"
#include "transform.h"

ScreenSize screenSize;
float angleX;
float angleY;
float angleZ;

namespace {

constexpr std::int32_t kDiscSide = 16;  // pixels
constexpr float kWrapBound = 360;       // degrees

void CreateAnimation(HWND window)
{
    StartFrameTimer(window, kFrameTimerId, kFrameInterval);
    screenSize.width = ReadScreenWidth();
    screenSize.height = ReadScreenHeight();
    CreateBackBuffer(window, screenSize.width, screenSize.height);
    discSize = {kDiscSide, kDiscSide};
    angleX = angleY = angleZ = 0;
    shapeState.shapeClock = ReadClock();
    shapeState.morphCounter = kMorphIdle;
    shapeState.twistAngle = 0;
    shapeState.twistStep = 2;
    shapeState.coilPhase = 0;
    SeedRandom(static_cast<std::uint32_t>(ReadClock()));
    shapeState.currentShape = NextRandom() % kShapeCount;
    GenerateShape(shapeState.currentShape);
    ClearBackBuffer(screenSize.width, screenSize.height);
}

void DestroyAnimation(HWND window)
{
    FreeBackBuffer();
    StopFrameTimer(window, kFrameTimerId);
}

// Once the clock is more than kShapeInterval past shapeClock: a new shape,
// never the current one, and the first step of the morph towards it.
void PickShapeWhenDue()
{
    const double elapsed = static_cast<double>(ReadClock() - shapeState.shapeClock);
    if (!(elapsed > kShapeInterval)) {
        return;
    }
    shapeState.shapeClock = ReadClock();
    ShapeId next = NextRandom() % kShapeCount;
    while (next == shapeState.currentShape) {
        next = NextRandom() % kShapeCount;
    }
    shapeState.twistAngle = 0;
    BeginMorph(next);  // still sees the old currentShape
    shapeState.morphCounter = 0;
    shapeState.currentShape = next;
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

std::uint32_t RunningColour()
{
    return (static_cast<std::uint32_t>(colourCycler.PointRed()) & 0xFF) |
           (static_cast<std::uint32_t>(colourCycler.PointGreen()) & 0xFF) << 8 |
           (static_cast<std::uint32_t>(colourCycler.PointBlue()) & 0xFF) << 16;
}

}  // namespace

void RenderFrame()
{
    Transform transform;
    PickShapeWhenDue();

    if (shapeState.morphCounter == kMorphIdle) {
        GenerateShape(shapeState.currentShape);
    } else {
        MorphStep();
    }

    transform.Scale(1, 1, 1);
    angleX = AdvanceAngle(angleX);
    angleY = AdvanceAngle(angleY);
    angleZ = AdvanceAngle(angleZ);
    angleX = WrapAngle(angleX);
    angleY = WrapAngle(angleY);
    angleZ = WrapAngle(angleZ);
    transform.RotateX(AngleRadians(angleX));
    transform.RotateY(AngleRadians(angleY));
    transform.RotateZ(AngleRadians(angleZ));
    transform.Translate(static_cast<float>(screenSize.width / 2),
                        static_cast<float>(screenSize.height / 2), 0);

    std::int32_t screenX[kPointCount];
    std::int32_t screenY[kPointCount];
    std::int32_t screenZ[kPointCount];
    for (int i = 0; i < kPointCount; ++i) {
        const Point& p = pointSet.points[i];
        transform.Apply(p.x, p.y, p.z);
        screenX[i] = static_cast<std::int32_t>(transform.transformed.x);
        screenY[i] = static_cast<std::int32_t>(transform.transformed.y);
        screenZ[i] = static_cast<std::int32_t>(transform.transformed.z);
    }
    SortByDepth(screenX, screenY, screenZ, kPointCount);

    ClearBackBuffer(screenSize.width, screenSize.height);
    colourCycler.FrameAdvance();
    for (int i = 0; i < kPointCount; ++i) {
        const std::int32_t left = screenX[i] - discSize.width / 2;
        const std::int32_t top = screenY[i] - discSize.height / 2;
        DrawDisc(RunningColour(), left, top, left + discSize.width, top + discSize.height);
        colourCycler.PointAdvance();
    }
}

LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateAnimation(window);
        break;
    case WM_DESTROY:
        DestroyAnimation(window);
        break;
    case WM_TIMER:
        RenderFrame();
        CopyToWindow(window, screenSize.width, screenSize.height);
        break;
    default:
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
