// The depth sort of one frame's screen coordinates.
#pragma once

#include <cstdint>

// Orders `count` entries of the three parallel arrays by ascending z, moving
// x, y and z together; entries of equal depth keep their order. A bubble sort:
// every pass runs over all neighbouring pairs, and a pass whose last exchange
// was at position 0 (or that made none) is the last.
void SortByDepth(std::int32_t* x, std::int32_t* y, std::int32_t* z, int count);
