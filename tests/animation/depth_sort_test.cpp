#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "depth_sort.h"

namespace {

// The sort must give exactly the stable ascending order: compare it with the
// standard library's stable sort over inputs of every kind.
TEST(DepthSort, EqualsAStableSortByDepth)
{
    std::mt19937 random(7);
    std::vector<std::vector<std::int32_t>> depths = {
        {},
        {5},
        {1, 0, 2, 3, 4},        // the only exchange is at position 0
        {0, 1, 2, 4, 3},        // the only exchange is at the end
        {3, 3, 3, 3},
        {2, 1, 2, 1, 2, 1, 0},
    };
    std::vector<std::int32_t> reversed(600);
    std::iota(reversed.rbegin(), reversed.rend(), -300);
    depths.push_back(reversed);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<std::int32_t> z(600);
        for (auto& v : z) {
            v = static_cast<std::int32_t>(random() % 40) - 20;  // many ties
        }
        depths.push_back(z);
    }
    for (const auto& z : depths) {
        const int count = static_cast<int>(z.size());
        std::vector<std::int32_t> x(count), y(count), sortedZ = z;
        std::iota(x.begin(), x.end(), 0);
        std::iota(y.begin(), y.end(), 1000);
        std::vector<int> order(count);
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return z[a] < z[b]; });

        SortByDepth(x.data(), y.data(), sortedZ.data(), count);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(x[i], order[i]) << "entry " << i << " of " << count;
            ASSERT_EQ(y[i], order[i] + 1000);
            ASSERT_EQ(sortedZ[i], z[order[i]]);
        }
    }
}

}  // namespace
