// The cloud: 600 points in screen pixels around the origin, the six shapes
// that fill it, and the linear morph between shapes. The point order is part
// of every shape: the morph carries point n to point n, and points of equal
// depth are drawn in point order.
#pragma once

#include <cstdint>
#include <ctime>

constexpr int kPointCount = 600;
constexpr int kShapeCount = 6;
constexpr std::int32_t kMorphIdle = 10000;
constexpr std::int32_t kMorphFrames = 80;

typedef std::int32_t ShapeId;
constexpr ShapeId kShapeWaveSheet = 0;
constexpr ShapeId kShapeBox = 1;
constexpr ShapeId kShapeCoil = 2;
constexpr ShapeId kShapeTwistedTower = 3;
constexpr ShapeId kShapeAxisCross = 4;
constexpr ShapeId kShapeTorus = 5;

struct Point {
    float x;
    float y;
    float z;
};

struct PointSet {
    Point points[kPointCount];
};

// One coordinate per array, as the morph reads them.
struct MorphBuffer {
    float x[kPointCount];
    float y[kPointCount];
    float z[kPointCount];
};

struct ShapeState {
    ShapeId currentShape;       // shown, or being morphed to
    std::int32_t morphCounter;  // steps taken, 0..79, or kMorphIdle
    std::time_t shapeClock;     // seconds: last pick, or end of the last morph
    std::int32_t wavePhase;     // wave sheet, in 15-degree steps, 0..24
    float coilPhase;            // coil radius pulse, degrees, 0..350
    std::int32_t twistAngle;    // twisted tower at ring 0, degrees
    std::int32_t twistStep;     // +2 or -2 degrees per generation
};

// Size of a drawn disc in pixels; four generators use it as their grid unit.
struct DiscSize {
    std::int32_t width;
    std::int32_t height;
};

struct Cloud;

// Overwrites all 600 points with shape k and advances k's own animation once.
// Any k outside 0..5 changes nothing.
void GenerateShape(Cloud& cloud, ShapeId k);
// Keeps the cloud as it is in morphFrom, generates k into the point set and
// morphTo. Leaves morphCounter and currentShape to the caller.
void BeginMorph(Cloud& cloud, ShapeId k);
// Shows morphCounter/80 of the way from morphFrom to morphTo, then counts the
// step; the 80th step ends the morph and restarts the shape clock.
void MorphStep(Cloud& cloud);
