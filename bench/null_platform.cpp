// A drawing seam that does nothing, so the benchmarks time only the
// animation's own work; the clock stands still, so no shape is picked.
#include "platform.h"

void StartFrameTimer(HWND, UINT, UINT) {}
void StopFrameTimer(HWND, UINT) {}
std::int32_t ReadScreens(HWND, ScreenSize sizes[kMaxScreens])
{
    sizes[0] = {1920, 1080};
    return 1;
}
void CreateBackBuffer(HWND, std::int32_t, std::int32_t, std::int32_t) {}
void ClearBackBuffer(std::int32_t, std::int32_t, std::int32_t) {}
void DrawDisc(std::int32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void CopyToWindow(HWND, std::int32_t, std::int32_t, std::int32_t) {}
void FreeBackBuffer(std::int32_t) {}
std::time_t ReadClock() { return 1000; }
