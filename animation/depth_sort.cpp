#include "depth_sort.h"

void SortByDepth(std::int32_t* x, std::int32_t* y, std::int32_t* z, int count)
{
    int lastSwap;
    do {
        lastSwap = 0;
        for (int i = 0; i < count - 1; ++i) {
            if (z[i] > z[i + 1]) {
                std::int32_t t = x[i]; x[i] = x[i + 1]; x[i + 1] = t;
                t = y[i]; y[i] = y[i + 1]; y[i + 1] = t;
                t = z[i]; z[i] = z[i + 1]; z[i + 1] = t;
                lastSwap = i;
            }
        }
    } while (lastSwap != 0);
}
