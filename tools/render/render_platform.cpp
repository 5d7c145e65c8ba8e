#include "render_platform.h"

#include "platform.h"

std::time_t renderClock;
std::int32_t renderScreenWidth;
std::int32_t renderScreenHeight;

void StartFrameTimer(HWND, UINT, UINT) {}
void StopFrameTimer(HWND, UINT) {}

std::int32_t ReadScreenWidth()
{
    return renderScreenWidth;
}

std::int32_t ReadScreenHeight()
{
    return renderScreenHeight;
}

std::time_t ReadClock()
{
    return renderClock;
}
