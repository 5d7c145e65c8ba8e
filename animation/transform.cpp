#include "transform.h"

#include <cmath>

Transform::Transform()
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            matrix[i][j] = i == j ? 1.0f : 0.0f;
        }
    }
}

void Transform::SetOperandIdentity()
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            operand[i][j] = i == j ? 1.0f : 0.0f;
        }
    }
}

void Transform::Scale(float sx, float sy, float sz)
{
    SetOperandIdentity();
    operand[0][0] = sx;
    operand[1][1] = sy;
    operand[2][2] = sz;
    Multiply();
}

// A turn in the plane of axes a and b: rows a and b of the operand hold
// (cos, sin) and (-sin, cos) in columns a and b. Sine and cosine are taken in
// double precision and each rounded to float; the negated sine is the
// negation of the rounded value.
void Transform::Rotate(int a, int b, float radians)
{
    const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
    const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
    SetOperandIdentity();
    operand[a][a] = c;
    operand[a][b] = s;
    operand[b][a] = -s;
    operand[b][b] = c;
    Multiply();
}

void Transform::RotateX(float radians)
{
    Rotate(1, 2, radians);  // y' = y cos - z sin, z' = y sin + z cos
}

void Transform::RotateY(float radians)
{
    Rotate(2, 0, radians);  // x' = x cos + z sin, z' = z cos - x sin
}

void Transform::RotateZ(float radians)
{
    Rotate(0, 1, radians);  // x' = x cos - y sin, y' = x sin + y cos
}

void Transform::Translate(float tx, float ty, float tz)
{
    SetOperandIdentity();
    operand[3][0] = tx;
    operand[3][1] = ty;
    operand[3][2] = tz;
    Multiply();
}

void Transform::Multiply()
{
    float product[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const double sum = ((static_cast<double>(matrix[i][0]) * operand[0][j] +
                                 static_cast<double>(matrix[i][1]) * operand[1][j]) +
                                static_cast<double>(matrix[i][2]) * operand[2][j]) +
                               static_cast<double>(matrix[i][3]) * operand[3][j];
            product[i][j] = static_cast<float>(sum);
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            matrix[i][j] = product[i][j];
        }
    }
}

void Transform::Apply(float x, float y, float z)
{
    float* out[3] = {&transformed.x, &transformed.y, &transformed.z};
    for (int j = 0; j < 3; ++j) {
        const double sum = ((static_cast<double>(x) * matrix[0][j] +
                             static_cast<double>(y) * matrix[1][j]) +
                            static_cast<double>(z) * matrix[2][j]) +
                           static_cast<double>(matrix[3][j]);
        *out[j] = static_cast<float>(sum);
    }
}
