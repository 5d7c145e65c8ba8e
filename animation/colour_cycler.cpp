#include "colour_cycler.h"

namespace {

// One step of size s along the wheel, then the clamp into 0..255. The first
// matching leg wins; a colour off the rim matches none and only gets clamped.
void WheelStep(std::int32_t& r, std::int32_t& g, std::int32_t& b, std::int32_t s)
{
    if (r <= 254 && g <= 0 && b >= 255) {
        r += s;  // blue towards magenta
    } else if (r >= 255 && g <= 0 && b >= 1) {
        b -= s;  // magenta towards red
    } else if (r >= 255 && g <= 254 && b <= 0) {
        g += s;  // red towards yellow
    } else if (r >= 1 && g >= 255 && b <= 0) {
        r -= s;  // yellow towards green
    } else if (r <= 0 && g >= 255 && b <= 254) {
        b += s;  // green towards cyan
    } else if (r <= 0 && g >= 1 && b >= 255) {
        g -= s;  // cyan towards blue
    }
    if (r > 255) r = 255;
    if (g > 255) g = 255;
    if (b > 255) b = 255;
    if (r < 0) r = 0;
    if (g < 0) g = 0;
    if (b < 0) b = 0;
}

}  // namespace

ColourCycler::ColourCycler(std::int32_t stepSize)
    : step(stepSize), red(255), green(0), blue(0)
{
}

void ColourCycler::FrameAdvance()
{
    WheelStep(red, green, blue, step);
    pointRed = red;
    pointGreen = green;
    pointBlue = blue;
}

void ColourCycler::PointAdvance()
{
    WheelStep(pointRed, pointGreen, pointBlue, 1);
}
