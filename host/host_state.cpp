// Host state shared by every launch mode; written only by SaverMain.
#include "host_state.h"

HINSTANCE instanceHandle;
std::int32_t win9xPlatform;
