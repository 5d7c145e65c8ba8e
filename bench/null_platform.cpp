// A drawing seam that does nothing, so the benchmarks time only the
// animation's own work; the clock stands still, so no shape is picked.
#include "platform.h"

void StartFrameTimer(HWND, UINT, UINT) {}
void StopFrameTimer(HWND, UINT) {}
std::int32_t ReadScreenWidth() { return 1920; }
std::int32_t ReadScreenHeight() { return 1080; }
void CreateBackBuffer(HWND, std::int32_t, std::int32_t) {}
void ClearBackBuffer(std::int32_t, std::int32_t) {}
void DrawDisc(std::uint32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void CopyToWindow(HWND, std::int32_t, std::int32_t) {}
void FreeBackBuffer() {}
std::time_t ReadClock() { return 1000; }
