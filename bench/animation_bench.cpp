// CPU work of one frame with a null drawing seam: the shape step, transform,
// conversion, depth sort and colour walk, without the platform's drawing.
#include <benchmark/benchmark.h>

#include <numeric>

#include "cloud.h"
#include "depth_sort.h"
#include "point_set.h"
#include "saver_proc.h"

namespace {

void StartAnimation()
{
    SaverProc(nullptr, WM_CREATE, 0, 0);
}

void BM_FrameStandingShape(benchmark::State& state)
{
    StartAnimation();
    clouds[0].shapeState.currentShape = static_cast<ShapeId>(state.range(0));
    for (auto _ : state) {
        RenderFrame(0);
    }
    state.SetLabel(
        (const char* const[]){"wave sheet", "box", "coil", "twisted tower", "axis cross", "torus"}[state.range(0)]);
}
BENCHMARK(BM_FrameStandingShape)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_FrameDuringMorph(benchmark::State& state)
{
    StartAnimation();
    GenerateShape(clouds[0], kShapeTorus);
    BeginMorph(clouds[0], kShapeBox);
    for (auto _ : state) {
        clouds[0].shapeState.morphCounter = 40;  // mid-morph every frame
        RenderFrame(0);
    }
}
BENCHMARK(BM_FrameDuringMorph)->Unit(benchmark::kMicrosecond);

// Reversed depths: for a bubble sort 599 passes of 599 comparisons, every one an exchange.
void BM_DepthSortWorstCase(benchmark::State& state)
{
    std::int32_t x[kPointCount];
    std::int32_t y[kPointCount];
    std::int32_t z[kPointCount];
    for (auto _ : state) {
        std::iota(x, x + kPointCount, 0);
        std::iota(y, y + kPointCount, 0);
        for (int i = 0; i < kPointCount; ++i) {
            z[i] = kPointCount - i;
        }
        SortByDepth(x, y, z, kPointCount);
        benchmark::DoNotOptimize(z);
    }
}
BENCHMARK(BM_DepthSortWorstCase)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
