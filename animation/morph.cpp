// The linear morph: 80 steps showing 0/80 .. 79/80 of the way from the cloud
// as it was to the target; the target itself appears with the next generation.
#include "cloud.h"
#include "platform.h"
#include "point_set.h"

namespace {

void CopyPointSet(const PointSet& points, MorphBuffer& buffer)
{
    for (int n = 0; n < kPointCount; ++n) {
        buffer.x[n] = points.points[n].x;
        buffer.y[n] = points.points[n].y;
        buffer.z[n] = points.points[n].z;
    }
}

float Interpolate(float from, float to, std::int32_t counter)
{
    const double difference = static_cast<double>(to) - static_cast<double>(from);
    return static_cast<float>(from + (static_cast<double>(counter) * difference) / kMorphFrames);
}

}  // namespace

void BeginMorph(Cloud& cloud, ShapeId k)
{
    CopyPointSet(cloud.pointSet, cloud.morphFrom);
    GenerateShape(cloud, k);
    CopyPointSet(cloud.pointSet, cloud.morphTo);
}

void MorphStep(Cloud& cloud)
{
    const std::int32_t counter = cloud.shapeState.morphCounter;
    const MorphBuffer& from = cloud.morphFrom;
    const MorphBuffer& to = cloud.morphTo;
    for (int n = 0; n < kPointCount; ++n) {
        Point& p = cloud.pointSet.points[n];
        p.x = Interpolate(from.x[n], to.x[n], counter);
        p.y = Interpolate(from.y[n], to.y[n], counter);
        p.z = Interpolate(from.z[n], to.z[n], counter);
    }
    cloud.shapeState.morphCounter += 1;
    if (cloud.shapeState.morphCounter == kMorphFrames) {
        cloud.shapeState.morphCounter = kMorphIdle;
        cloud.shapeState.shapeClock = ReadClock();
    }
}
