#include "depth_sort.h"

// One pass carries an entry rightwards while it is deeper than its right-hand
// neighbour: each exchange of entries i and i+1 leaves the carried entry at
// i+1. Holding the carried entry in registers instead of exchanging it through
// memory gives exactly the same passes and exchanges, without making every
// comparison wait for the store of the one before.
void SortByDepth(std::int32_t* x, std::int32_t* y, std::int32_t* z, int count)
{
    if (count < 2) {
        return;
    }
    int lastSwap;
    do {
        lastSwap = 0;
        std::int32_t carriedX = x[0];
        std::int32_t carriedY = y[0];
        std::int32_t carriedZ = z[0];
        for (int i = 0; i < count - 1; ++i) {
            const std::int32_t nextZ = z[i + 1];
            if (carriedZ > nextZ) {
                x[i] = x[i + 1];
                y[i] = y[i + 1];
                z[i] = nextZ;
                lastSwap = i;
            } else {
                x[i] = carriedX;
                y[i] = carriedY;
                z[i] = carriedZ;
                carriedX = x[i + 1];
                carriedY = y[i + 1];
                carriedZ = nextZ;
            }
        }
        x[count - 1] = carriedX;
        y[count - 1] = carriedY;
        z[count - 1] = carriedZ;
    } while (lastSwap != 0);
}
