// The depth sort of one frame's screen coordinates.
#pragma once

#include <cstdint>

#include "point_set.h"

// Orders `count` (at most kPointCount) entries of the three parallel arrays
// by ascending z, moving x, y and z together; entries of equal depth keep
// their order. The order is that of a bubble sort over neighbouring pairs
// that runs until a pass leaves everything in place; a stable merge sort
// reaches the same order in far fewer steps.
void SortByDepth(std::int32_t* x, std::int32_t* y, std::int32_t* z, int count);
