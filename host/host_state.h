// Host state shared by the launch modes, the saver window and the closing
// rules. Set by SaverMain before any mode runs.
#pragma once

#include <windows.h>

#include <cstdint>

extern HINSTANCE instanceHandle;
// 1 on the Windows 95/98 platform family.
extern std::int32_t win9xPlatform;
