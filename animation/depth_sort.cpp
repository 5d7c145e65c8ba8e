#include "depth_sort.h"

#include <algorithm>

namespace {

// Entry i of a set of parallel arrays is (x[i], y[i], z[i]).
struct Entries {
    std::int32_t* x;
    std::int32_t* y;
    std::int32_t* z;
};

void Move(const Entries& from, int i, const Entries& to, int k)
{
    to.x[k] = from.x[i];
    to.y[k] = from.y[i];
    to.z[k] = from.z[i];
}

// Merges the ordered runs [left, middle) and [middle, right) of `from` into
// the same places of `to`. On equal depths the left run's entry goes first,
// so the merge is stable.
void Merge(const Entries& from, const Entries& to, int left, int middle, int right)
{
    int i = left;
    int j = middle;
    for (int k = left; k < right; ++k) {
        if (j >= right || (i < middle && from.z[i] <= from.z[j])) {
            Move(from, i++, to, k);
        } else {
            Move(from, j++, to, k);
        }
    }
}

}  // namespace

// Bottom-up: runs of 1, 2, 4, ... entries merged pairwise, back and forth
// between the arrays given and a scratch set on the stack.
void SortByDepth(std::int32_t* x, std::int32_t* y, std::int32_t* z, int count)
{
    std::int32_t scratchX[kPointCount];
    std::int32_t scratchY[kPointCount];
    std::int32_t scratchZ[kPointCount];
    Entries from = {x, y, z};
    Entries to = {scratchX, scratchY, scratchZ};
    for (int width = 1; width < count; width *= 2) {
        for (int left = 0; left < count; left += 2 * width) {
            Merge(from, to, left, std::min(left + width, count), std::min(left + 2 * width, count));
        }
        std::swap(from, to);
    }
    if (from.z != z) {
        for (int i = 0; i < count; ++i) {
            Move(from, i, {x, y, z}, i);
        }
    }
}
