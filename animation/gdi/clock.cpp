// The calendar clock in whole seconds.
#include "../platform.h"

std::time_t ReadClock()
{
    return std::time(nullptr);
}
