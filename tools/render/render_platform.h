// The rest of the drawing seam for vimra-render, beside the cairo back end:
// a simulated clock, a screen of the asked size and no timer (the driver
// sends every tick itself). Its CopyToWindow is the driver's own.
#pragma once

#include <cstdint>
#include <ctime>

extern std::time_t renderClock;   // what ReadClock() returns
extern std::int32_t renderScreenWidth;
extern std::int32_t renderScreenHeight;
