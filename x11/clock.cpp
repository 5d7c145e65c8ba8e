// The calendar clock in whole seconds, as the shape schedule reads it.
#include "platform.h"

std::time_t ReadClock()
{
    return std::time(nullptr);
}
