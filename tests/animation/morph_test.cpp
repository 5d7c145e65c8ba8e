#include <gtest/gtest.h>

#include <cstring>

#include "point_set.h"
#include "recorder_platform.h"

namespace {

class Morph : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAnimation();
        discSize = {16, 16};
        shapeState.twistStep = 2;
        recorder.clock = 5000;
    }

    // Starts a morph as the frame pipeline does.
    void Begin(ShapeId k)
    {
        BeginMorph(k);
        shapeState.morphCounter = 0;
        shapeState.currentShape = k;
    }
};

TEST_F(Morph, FirstStepShowsTheCloudAsItWas)
{
    GenerateShape(kShapeTorus);
    const PointSet before = pointSet;
    Begin(kShapeBox);
    MorphStep();
    EXPECT_EQ(std::memcmp(&before, &pointSet, sizeof before), 0);
    EXPECT_EQ(shapeState.morphCounter, 1);
}

TEST_F(Morph, BeginMorphAdvancesTheTargetsAnimationOnce)
{
    Begin(kShapeWaveSheet);
    EXPECT_EQ(shapeState.wavePhase, 1);
    Begin(kShapeCoil);
    EXPECT_EQ(shapeState.coilPhase, 10.0f);
}

// A coordinate going from 0 to 80 shows 0, 1, ..., 79: the fractions are n/80.
TEST_F(Morph, StepsWalkTheFractions0To79Over80)
{
    std::memset(&morphFrom, 0, sizeof morphFrom);
    for (int n = 0; n < kPointCount; ++n) {
        morphTo.x[n] = 80;
        morphTo.y[n] = -160;
        morphTo.z[n] = 0.5f;
    }
    shapeState.morphCounter = 0;
    for (int step = 0; step < kMorphFrames; ++step) {
        MorphStep();
        ASSERT_EQ(pointSet.points[599].x, static_cast<float>(step)) << step;
        ASSERT_EQ(pointSet.points[0].y, static_cast<float>(-2 * step)) << step;
        ASSERT_EQ(pointSet.points[7].z, static_cast<float>(step * 0.5 / 80)) << step;
    }
}

TEST_F(Morph, EightiethStepEndsTheMorphAndRestartsTheShapeClock)
{
    GenerateShape(kShapeBox);
    Begin(kShapeTorus);
    for (int step = 0; step < 79; ++step) {
        MorphStep();
    }
    EXPECT_EQ(shapeState.morphCounter, 79);
    EXPECT_EQ(shapeState.shapeClock, 0);
    recorder.clock = 7777;
    MorphStep();
    EXPECT_EQ(shapeState.morphCounter, kMorphIdle);
    EXPECT_EQ(shapeState.shapeClock, 7777);
    // 79/80 of the way from box point 0 (-80, -80, -112) to torus point 0 (270, 0, 0).
    EXPECT_EQ(pointSet.points[0].x, static_cast<float>(-80 + (79 * 350.0) / 80));
    EXPECT_EQ(pointSet.points[0].z, static_cast<float>(-112 + (79 * 112.0) / 80));
}

}  // namespace
