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

// Sine and cosine are taken in double precision and each rounded to float;
// the negated sine is the negation of the rounded value.
void Transform::RotateX(float radians)
{
    const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
    const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
    SetOperandIdentity();
    operand[1][1] = c;
    operand[1][2] = s;
    operand[2][1] = -s;
    operand[2][2] = c;
    Multiply();
}

void Transform::RotateY(float radians)
{
    const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
    const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
    SetOperandIdentity();
    operand[0][0] = c;
    operand[0][2] = -s;
    operand[2][0] = s;
    operand[2][2] = c;
    Multiply();
}

void Transform::RotateZ(float radians)
{
    const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
    const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
    SetOperandIdentity();
    operand[0][0] = c;
    operand[0][1] = s;
    operand[1][0] = -s;
    operand[1][1] = c;
    Multiply();
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
