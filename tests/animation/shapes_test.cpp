#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "point_set.h"
#include "recorder_platform.h"

namespace {

class Shapes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAnimation();
        discSize = {16, 16};
        shapeState.twistStep = 2;
    }
};

struct Expected {
    ShapeId shape;
    int index;
    float x, y, z;
    float tolerance;  // 0: exact
};

// Points named in the shapes' definitions, plus a few computed by hand from
// the formulas (rounded to float), with W = H = 16 and every phase at 0.
TEST_F(Shapes, KnownPointsOfEveryShape)
{
    const Expected cases[] = {
        {kShapeWaveSheet, 0, -476, -136, 0, 0},
        {kShapeWaveSheet, 599, 460, 200, 15.454813f, 0},  // sin(795 degrees) x 16
        {kShapeWaveSheet, 41, -452, -112, 8.0f, 1e-5f},   // row 1, column 1: sin 30 x 16
        {kShapeBox, 0, -80, -80, -112, 0},
        {kShapeBox, 599, 64, 96, 64, 0},
        {kShapeBox, 100, -80, -80, 96, 0},   // group 0, far face
        {kShapeBox, 200, -112, -80, -80, 0}, // group 1 stands across x
        {kShapeCoil, 0, 0, 100, -300, 1e-5f},
        {kShapeCoil, 1, 17.433001f, 98.867462f, -299, 0},
        {kShapeTwistedTower, 0, -80, -80, -296, 0},
        {kShapeTwistedTower, 6, 64, -80, -296, 0},    // side 1 starts at its corner
        {kShapeTwistedTower, 599, -80, -56, 280, 0},  // last ring, side 3, k = 5
        {kShapeAxisCross, 0, 0, -416, 0, 0},
        {kShapeAxisCross, 599, -16, 16, -16, 0},
        {kShapeAxisCross, 24, 0, -32, 0, 0},   // negative arms end at -2 units
        {kShapeAxisCross, 124, 16, 0, 0, 0},   // positive arms end at 1 unit
        {kShapeTorus, 0, 270, 0, 0, 1e-5f},
        {kShapeTorus, 25, 259.20718f, 66.553093f, 18.117332f, 0},
    };
    for (const Expected& e : cases) {
        SetUp();
        GenerateShape(e.shape);
        const Point& p = pointSet.points[e.index];
        SCOPED_TRACE(::testing::Message() << "shape " << e.shape << " point " << e.index);
        if (e.tolerance == 0) {
            EXPECT_EQ(p.x, e.x);
            EXPECT_EQ(p.y, e.y);
            EXPECT_EQ(p.z, e.z);
        } else {
            EXPECT_NEAR(p.x, e.x, e.tolerance);
            EXPECT_NEAR(p.y, e.y, e.tolerance);
            EXPECT_NEAR(p.z, e.z, e.tolerance);
        }
    }
}

// Every generator overwrites all 600 points: nothing of a poisoned set survives.
TEST_F(Shapes, EveryGeneratorWritesAllPoints)
{
    for (ShapeId shape = 0; shape < kShapeCount; ++shape) {
        for (Point& p : pointSet.points) {
            p = {NAN, NAN, NAN};
        }
        GenerateShape(shape);
        for (int n = 0; n < kPointCount; ++n) {
            const Point& p = pointSet.points[n];
            ASSERT_FALSE(std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z))
                << "shape " << shape << " point " << n;
        }
    }
}

TEST_F(Shapes, GenerateShapeOutsideTheRangeChangesNothing)
{
    GenerateShape(kShapeCoil);
    shapeState.wavePhase = 7;
    shapeState.twistAngle = 12;
    const PointSet before = pointSet;
    const ShapeState stateBefore = shapeState;
    for (ShapeId k : {-1, 6, 1000}) {
        GenerateShape(k);
        EXPECT_EQ(std::memcmp(&before, &pointSet, sizeof before), 0) << k;
        EXPECT_EQ(std::memcmp(&stateBefore, &shapeState, sizeof stateBefore), 0) << k;
    }
}

TEST_F(Shapes, WaveGridStepsAre24PixelsAndPhaseRuns0To24)
{
    GenerateShape(kShapeWaveSheet);
    EXPECT_EQ(pointSet.points[1].x - pointSet.points[0].x, 24.0f);
    EXPECT_EQ(pointSet.points[40].y - pointSet.points[0].y, 24.0f);
    for (int phase = 1; phase <= 24; ++phase) {
        EXPECT_EQ(shapeState.wavePhase, phase);
        GenerateShape(kShapeWaveSheet);
    }
    EXPECT_EQ(shapeState.wavePhase, 0);  // 24 was used once; 25 never is
}

TEST_F(Shapes, WaveHeightFollowsThePhase)
{
    shapeState.wavePhase = 6;  // 90 degrees at point 0
    GenerateShape(kShapeWaveSheet);
    EXPECT_EQ(pointSet.points[0].z, 16.0f);
}

TEST_F(Shapes, CoilPhaseRunsIn10DegreeStepsAndNeverUses360)
{
    for (int generation = 0; generation < 36; ++generation) {
        EXPECT_EQ(shapeState.coilPhase, 10.0f * generation);
        GenerateShape(kShapeCoil);
    }
    EXPECT_EQ(shapeState.coilPhase, 0.0f);
}

TEST_F(Shapes, CoilRadiusPulsesWithThePhase)
{
    shapeState.coilPhase = 90;  // radius 115 at point 0
    GenerateShape(kShapeCoil);
    EXPECT_EQ(pointSet.points[0].y, 115.0f);
    for (int n = 0; n < kPointCount; ++n) {  // one pixel apart along z
        EXPECT_EQ(pointSet.points[n].z, static_cast<float>(n - 300)) << n;
    }
}

TEST_F(Shapes, TwistSwingsToPlusAndMinus46)
{
    struct Step {
        int generation, usedAngle, angleAfter, stepAfter;
    };
    int used[200];
    int after[200];
    int stepAfter[200];
    for (int g = 0; g < 200; ++g) {
        used[g] = shapeState.twistAngle;
        GenerateShape(kShapeTwistedTower);
        after[g] = shapeState.twistAngle;
        stepAfter[g] = shapeState.twistStep;
    }
    const Step expected[] = {
        {0, 0, 2, 2}, {22, 44, 46, -2}, {23, 46, 44, -2}, {45, 2, 0, -2},
        {68, -44, -46, 2}, {69, -46, -44, 2}, {92, 0, 2, 2},
    };
    for (const Step& s : expected) {
        EXPECT_EQ(used[s.generation], s.usedAngle) << "generation " << s.generation;
        EXPECT_EQ(after[s.generation], s.angleAfter) << "generation " << s.generation;
        EXPECT_EQ(stepAfter[s.generation], s.stepAfter) << "generation " << s.generation;
    }
}

TEST_F(Shapes, TwistTurnsRingsAboutTheAxisByTheirShare)
{
    GenerateShape(kShapeTwistedTower);  // untwisted reference
    const PointSet untwisted = pointSet;
    shapeState.twistAngle = 10;
    GenerateShape(kShapeTwistedTower);
    EXPECT_NEAR(pointSet.points[0].x, -64.89277f, 1e-4);
    EXPECT_NEAR(pointSet.points[0].y, -92.67648f, 1e-4);
    EXPECT_EQ(pointSet.points[0].z, -296.0f);
    EXPECT_NEAR(pointSet.points[576].x, -92.67648f, 1e-4);
    EXPECT_NEAR(pointSet.points[576].y, -64.89277f, 1e-4);
    EXPECT_EQ(pointSet.points[576].z, 280.0f);
    for (int n = 288; n < 312; ++n) {  // ring 12 is not turned
        EXPECT_NEAR(pointSet.points[n].x, untwisted.points[n].x, 1e-4) << n;
        EXPECT_NEAR(pointSet.points[n].y, untwisted.points[n].y, 1e-4) << n;
    }
}

TEST_F(Shapes, ShapesWithoutAnimationAreTheSameAtEveryCall)
{
    for (ShapeId shape : {kShapeBox, kShapeAxisCross, kShapeTorus}) {
        GenerateShape(shape);
        const PointSet first = pointSet;
        GenerateShape(shape);
        EXPECT_EQ(std::memcmp(&first, &pointSet, sizeof first), 0) << shape;
    }
}

}  // namespace
