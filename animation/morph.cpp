// The linear morph: 80 steps showing 0/80 .. 79/80 of the way from the cloud
// as it was to the target; the target itself appears with the next generation.
#include "platform.h"
#include "point_set.h"

MorphBuffer morphFrom;
MorphBuffer morphTo;

namespace {

void CopyPointSet(MorphBuffer& buffer)
{
    for (int n = 0; n < kPointCount; ++n) {
        buffer.x[n] = pointSet.points[n].x;
        buffer.y[n] = pointSet.points[n].y;
        buffer.z[n] = pointSet.points[n].z;
    }
}

float Interpolate(float from, float to, std::int32_t counter)
{
    const double difference = static_cast<double>(to) - static_cast<double>(from);
    return static_cast<float>(from + (static_cast<double>(counter) * difference) / kMorphFrames);
}

}  // namespace

void BeginMorph(ShapeId k)
{
    CopyPointSet(morphFrom);
    GenerateShape(k);
    CopyPointSet(morphTo);
}

void MorphStep()
{
    const std::int32_t counter = shapeState.morphCounter;
    for (int n = 0; n < kPointCount; ++n) {
        Point& p = pointSet.points[n];
        p.x = Interpolate(morphFrom.x[n], morphTo.x[n], counter);
        p.y = Interpolate(morphFrom.y[n], morphTo.y[n], counter);
        p.z = Interpolate(morphFrom.z[n], morphTo.z[n], counter);
    }
    shapeState.morphCounter += 1;
    if (shapeState.morphCounter == kMorphFrames) {
        shapeState.morphCounter = kMorphIdle;
        shapeState.shapeClock = ReadClock();
    }
}
