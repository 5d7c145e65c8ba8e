// What the renderer's drawing seam needs from its driver: the simulated clock,
// the tick being drawn, the draw log, and the surface to save.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <ctime>

extern std::time_t renderClock;   // what ReadClock() returns
extern std::int32_t renderScreenWidth;
extern std::int32_t renderScreenHeight;
extern std::int32_t renderTick;   // the log's first column
extern std::FILE* drawLog;        // null: no log

// The back buffer, between CreateBackBuffer and FreeBackBuffer; else null.
cairo_surface_t* RenderSurface();
