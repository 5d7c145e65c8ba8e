// The GDI back end's disc runs (disc_runs.h): a disc of one size drawn once
// by GDI's own Ellipse (a solid brush, the default black pen) into a scratch
// 32-bit DIB section and kept as runs, so that every disc of that size is
// written as the very pixels Ellipse puts down at its place.
#pragma once

#include <cstdint>

// Keeps the runs for discs of width x height pixels. Returns 0 when such a
// disc is not kept (empty, too big or not a plain disc): draw it with GDI.
int PrepareEllipseRuns(std::int32_t width, std::int32_t height);
