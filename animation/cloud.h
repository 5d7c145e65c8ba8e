// One cloud: everything that changes in the picture of one screen. A window
// shows a cloud on each of its screens, the primary's first; each is advanced
// and drawn on its own, so the monitors show shapes of their own.
#pragma once

#include <cstdint>

#include "colour_cycler.h"
#include "platform.h"
#include "point_set.h"

struct Cloud {
    ScreenSize screenSize;  // the picture's size, read at creation; its halves are the centre
    float angleX;           // degrees, always within [0, 360)
    float angleY;
    float angleZ;
    PointSet pointSet;
    MorphBuffer morphFrom;
    MorphBuffer morphTo;
    ShapeState shapeState;
    DiscSize discSize;
    std::uint32_t randomState = 1;  // the random generator's; 1 until seeded
    ColourCycler colourCycler{10};  // pure red, step 10, from start-up on
};

// Cloud s belongs to screen s; the first cloudCount are shown.
extern Cloud clouds[kMaxScreens];
extern std::int32_t cloudCount;
