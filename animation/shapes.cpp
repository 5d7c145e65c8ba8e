// The six shape generators. Integer-only terms (loop counters, W, H and the
// integer animation fields) are computed in 32-bit integers; everything else
// in double precision in the written order; each coordinate is rounded to
// float once, when it is stored.
#include <cmath>

#include "angles.h"
#include "cloud.h"
#include "point_set.h"

namespace {

void StorePoint(PointSet& points, int n, double x, double y, double z)
{
    points.points[n] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

// 15 rows x 40 columns in the x-y plane; z is a sine wave along the diagonal.
void GenerateWaveSheet(Cloud& cloud)
{
    const std::int32_t w = cloud.discSize.width;
    const std::int32_t h = cloud.discSize.height;
    const std::int32_t x0 = (-119 * w) / 4;
    const std::int32_t y0 = -((15 * h) / 2 + h);
    int n = 0;
    for (std::int32_t i = 0; i < 15; ++i) {
        for (std::int32_t j = 0; j < 40; ++j) {
            const double x = x0 + 1.5 * (j * w);
            const double y = y0 + 1.5 * (i * h);
            const double z = std::sin(Radians(15 * (i + j + cloud.shapeState.wavePhase))) * w;
            StorePoint(cloud.pointSet, n++, x, y, z);
        }
    }
    cloud.shapeState.wavePhase += 1;
    if (15 * cloud.shapeState.wavePhase > 360) {
        cloud.shapeState.wavePhase = 0;
    }
}

// Six faces, each a 10 x 10 grid from -5 to +4 units, at planes -7 and +6 units.
void GenerateBox(Cloud& cloud)
{
    const std::int32_t w = cloud.discSize.width;
    const std::int32_t h = cloud.discSize.height;
    int n = 0;
    for (std::int32_t g = 0; g < 3; ++g) {
        for (std::int32_t f = 0; f < 2; ++f) {
            const std::int32_t plane = f == 0 ? -7 * w : 6 * w;
            for (std::int32_t a = 0; a < 10; ++a) {
                for (std::int32_t b = 0; b < 10; ++b) {
                    const std::int32_t u = (a - 5) * w;
                    if (g == 0) {
                        StorePoint(cloud.pointSet, n++, u, (b - 5) * h, plane);
                    } else if (g == 1) {
                        StorePoint(cloud.pointSet, n++, plane, u, (b - 5) * h);
                    } else {
                        StorePoint(cloud.pointSet, n++, u, plane, (b - 5) * h);
                    }
                }
            }
        }
    }
}

// A helix along z, 10 degrees and one pixel between points, whose radius
// swings 100 +- 15 with a phase that moves 10 degrees per generation.
void GenerateCoil(Cloud& cloud)
{
    float phi = cloud.shapeState.coilPhase;
    for (std::int32_t n = 0; n < kPointCount; ++n) {
        const double radius = std::sin(Radians(phi)) * 15 + 100;
        const double x = std::sin(Radians(10 * n)) * radius;
        const double y = std::cos(Radians(10 * n)) * radius;
        StorePoint(cloud.pointSet, n, x, y, n - 300);
        phi = static_cast<float>(phi + 1.5);
    }
    cloud.shapeState.coilPhase = static_cast<float>(cloud.shapeState.coilPhase + 10.0);
    if (cloud.shapeState.coilPhase >= 360) {
        cloud.shapeState.coilPhase = 0;
    }
}

// 25 square rings of 24 points stacked along z, each ring turned about the z
// axis by twistAngle x (1 - L/12) degrees, so the tube twists.
void GenerateTwistedTower(Cloud& cloud)
{
    const std::int32_t w = cloud.discSize.width;
    const std::int32_t h = cloud.discSize.height;
    int n = 0;
    for (std::int32_t ring = 0; ring < 25; ++ring) {
        const double z = -18.5 * w + (1.5 * ring) * w;
        for (std::int32_t k = 0; k < 6; ++k) {
            StorePoint(cloud.pointSet, n++, -5 * w + 1.5 * (k * w), -5 * h, z);
        }
        for (std::int32_t k = 0; k < 6; ++k) {
            StorePoint(cloud.pointSet, n++, 4 * w, -5 * h + 1.5 * (k * h), z);
        }
        for (std::int32_t k = 0; k < 6; ++k) {
            StorePoint(cloud.pointSet, n++, 4 * w - 1.5 * (k * w), 4 * h, z);
        }
        for (std::int32_t k = 0; k < 6; ++k) {
            StorePoint(cloud.pointSet, n++, -5 * w, 4 * h - 1.5 * (k * h), z);
        }
    }

    const std::int32_t d = cloud.shapeState.twistAngle;
    for (std::int32_t ring = 0; ring < 25; ++ring) {
        const double theta = Radians(d) - Radians(ring * d) / 12;
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        for (int n = 24 * ring; n < 24 * ring + 24; ++n) {
            Point& p = cloud.pointSet.points[n];
            const double x = c * p.x - s * p.y;
            const double y = c * p.y + s * p.x;
            p.x = static_cast<float>(x);
            p.y = static_cast<float>(y);
        }
    }

    cloud.shapeState.twistAngle += cloud.shapeState.twistStep;
    if (cloud.shapeState.twistAngle > 45 || cloud.shapeState.twistAngle < -45) {
        cloud.shapeState.twistStep = -cloud.shapeState.twistStep;
    }
}

// Six arms, each a 2 x 2 bundle of 25-point lines, walked from the far end in.
void GenerateAxisCross(Cloud& cloud)
{
    const std::int32_t w = cloud.discSize.width;
    const std::int32_t h = cloud.discSize.height;
    int n = 0;
    for (std::int32_t arm = 0; arm < 6; ++arm) {
        for (std::int32_t a = 0; a < 2; ++a) {
            for (std::int32_t b = 0; b < 2; ++b) {
                for (std::int32_t t = 0; t < 25; ++t) {
                    const std::int32_t outward = (25 - t);
                    const std::int32_t inward = (t - 26);
                    switch (arm) {
                    case 0: StorePoint(cloud.pointSet, n++, -a * w, inward * h, -b * w); break;
                    case 1: StorePoint(cloud.pointSet, n++, outward * w, -a * h, -b * w); break;
                    case 2: StorePoint(cloud.pointSet, n++, -a * w, -b * w, outward * h); break;
                    case 3: StorePoint(cloud.pointSet, n++, inward * w, -a * h, -b * w); break;
                    case 4: StorePoint(cloud.pointSet, n++, -a * w, -b * w, inward * h); break;
                    default: StorePoint(cloud.pointSet, n++, -a * w, outward * h, -b * w); break;
                    }
                }
            }
        }
    }
}

// A ring of radius 200 about z with a tube of radius 70: 25 x 24 points.
void GenerateTorus(Cloud& cloud)
{
    int n = 0;
    for (std::int32_t i = 0; i < 25; ++i) {
        const double u = ((i * 14.4) * kPi) / 180;
        for (std::int32_t j = 0; j < 24; ++j) {
            const double v = Radians(15 * j);
            const double x = (std::cos(v) * 70 + 200) * std::cos(u);
            const double y = (std::cos(v) * 70 + 200) * std::sin(u);
            const double z = std::sin(v) * 70;
            StorePoint(cloud.pointSet, n++, x, y, z);
        }
    }
}

}  // namespace

void GenerateShape(Cloud& cloud, ShapeId k)
{
    switch (k) {
    case kShapeWaveSheet: GenerateWaveSheet(cloud); break;
    case kShapeBox: GenerateBox(cloud); break;
    case kShapeCoil: GenerateCoil(cloud); break;
    case kShapeTwistedTower: GenerateTwistedTower(cloud); break;
    case kShapeAxisCross: GenerateAxisCross(cloud); break;
    case kShapeTorus: GenerateTorus(cloud); break;
    default: break;
    }
}
