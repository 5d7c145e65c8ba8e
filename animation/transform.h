// A 4 x 4 single-precision transform for row vectors: p' = (x, y, z, 1) x matrix.
// Each operation fills `operand` and multiplies it onto the right of `matrix`,
// so operations act on the point in the order they are applied. Sums are formed
// in double precision in the written order and rounded to float where stored.
#pragma once

struct Vector3 {
    float x;
    float y;
    float z;
};

class Transform {
public:
    Transform();

    void Scale(float sx, float sy, float sz);
    void RotateX(float radians);
    void RotateY(float radians);
    void RotateZ(float radians);
    void Translate(float tx, float ty, float tz);
    void Multiply();
    void Apply(float x, float y, float z);

    Vector3 transformed;
    float matrix[4][4];
    float operand[4][4];

private:
    void SetOperandIdentity();
    void Rotate(int a, int b, float radians);
};
