#include <gtest/gtest.h>

#include <cmath>

#include "angles.h"
#include "transform.h"

namespace {

float RoundedSin(float r) { return static_cast<float>(std::sin(static_cast<double>(r))); }
float RoundedCos(float r) { return static_cast<float>(std::cos(static_cast<double>(r))); }

TEST(Transform, AllAnglesZeroThenCentringAddsTheHalves)
{
    Transform t;
    t.Scale(1, 1, 1);
    t.RotateX(0);
    t.RotateY(0);
    t.RotateZ(0);
    t.Translate(511, 384, 0);
    t.Apply(-80, 96, -112);
    EXPECT_EQ(t.transformed.x, 431.0f);
    EXPECT_EQ(t.transformed.y, 480.0f);
    EXPECT_EQ(t.transformed.z, -112.0f);
}

// Row vectors: y' = y cos - z sin, z' = y sin + z cos about x; and likewise.
TEST(Transform, ElementaryRotationsTurnTheRightWay)
{
    const float r = static_cast<float>(Radians(30));
    const float s = RoundedSin(r);
    const float c = RoundedCos(r);
    struct Case {
        void (Transform::*rotate)(float);
        float x, y, z;
        double ex, ey, ez;
    } const cases[] = {
        {&Transform::RotateX, 0, 10, 0, 0, 10.0 * c, 10.0 * s},
        {&Transform::RotateX, 0, 0, 10, 0, -10.0 * s, 10.0 * c},
        {&Transform::RotateY, 10, 0, 0, 10.0 * c, 0, -10.0 * s},
        {&Transform::RotateY, 0, 0, 10, 10.0 * s, 0, 10.0 * c},
        {&Transform::RotateZ, 10, 0, 0, 10.0 * c, 10.0 * s, 0},
        {&Transform::RotateZ, 0, 10, 0, -10.0 * s, 10.0 * c, 0},
    };
    for (const Case& k : cases) {
        Transform t;
        (t.*k.rotate)(r);
        t.Apply(k.x, k.y, k.z);
        EXPECT_EQ(t.transformed.x, static_cast<float>(k.ex));
        EXPECT_EQ(t.transformed.y, static_cast<float>(k.ey));
        EXPECT_EQ(t.transformed.z, static_cast<float>(k.ez));
    }
}

// Later operations act later on the point: turn then move is not move then turn.
TEST(Transform, OperationsComposeInTheOrderApplied)
{
    const float quarter = static_cast<float>(Radians(90));
    Transform turnThenMove;
    turnThenMove.RotateZ(quarter);
    turnThenMove.Translate(100, 0, 0);
    turnThenMove.Apply(10, 0, 0);
    EXPECT_NEAR(turnThenMove.transformed.x, 100.0f, 1e-4);
    EXPECT_NEAR(turnThenMove.transformed.y, 10.0f, 1e-4);

    Transform moveThenTurn;
    moveThenTurn.Translate(100, 0, 0);
    moveThenTurn.RotateZ(quarter);
    moveThenTurn.Apply(10, 0, 0);
    EXPECT_NEAR(moveThenTurn.transformed.x, 0.0f, 1e-3);
    EXPECT_NEAR(moveThenTurn.transformed.y, 110.0f, 1e-4);
}

// Every element of the product comes from the old matrix: a shear applied on
// top of a scale must read the scaled values, not half-updated ones.
TEST(Transform, MultiplyReadsOnlyTheOldMatrix)
{
    Transform t;
    t.Scale(2, 3, 4);
    for (auto& row : t.operand) {
        for (float& e : row) {
            e = 1;
        }
    }
    t.Multiply();
    const float expectedRows[4] = {2, 3, 4, 1};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(t.matrix[i][j], expectedRows[i]) << i << "," << j;
        }
    }
}

}  // namespace
