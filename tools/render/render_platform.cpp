#include "render_platform.h"

#include "platform.h"

std::time_t renderClock;
std::int32_t renderScreenWidth;
std::int32_t renderScreenHeight;

void StartFrameTimer(HWND, UINT, UINT) {}
void StopFrameTimer(HWND, UINT) {}

// One screen of the asked size, at scale 1.
std::int32_t ReadScreens(HWND, ScreenSize sizes[kMaxScreens])
{
    sizes[0] = {renderScreenWidth, renderScreenHeight};
    return 1;
}

std::time_t ReadClock()
{
    return renderClock;
}
