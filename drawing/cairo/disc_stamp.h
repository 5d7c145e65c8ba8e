// The cairo back end's disc runs (disc_runs.h): a disc of one size drawn once
// by cairo (PaintDisc) and kept as runs. The pixels are those that PaintDisc
// puts down at the same place, except where the disc crosses the surface's
// edge: cairo closes a clipped outline with black along that edge, GDI and
// the runs just cut the disc off.
#pragma once

#include <cstdint>

#include "disc_runs.h"

// Keeps in `stamp` the runs for discs of width x height pixels outlined
// `outline` pixels wide. Returns 0 when such a disc is too big to keep (then
// draw it with PaintDisc).
int PrepareDiscStamp(DiscRuns& stamp, std::int32_t width, std::int32_t height, std::int32_t outline);
