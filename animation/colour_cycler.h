// The rainbow: walks the rim of the RGB cube (red, yellow, green, cyan, blue,
// magenta, red) in integer steps. The base colour moves `step` units once per
// frame; the running colour restarts at the base every frame and moves one
// unit per disc drawn.
#pragma once

#include <cstdint>

class ColourCycler {
public:
    explicit ColourCycler(std::int32_t stepSize);

    void FrameAdvance();
    void PointAdvance();

    std::int32_t PointRed() const { return pointRed; }
    std::int32_t PointGreen() const { return pointGreen; }
    std::int32_t PointBlue() const { return pointBlue; }

private:
    std::int32_t step;
    std::int32_t red;
    std::int32_t pointRed;
    std::int32_t green;
    std::int32_t pointGreen;
    std::int32_t blue;
    std::int32_t pointBlue;
};
