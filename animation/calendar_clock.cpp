// The calendar clock in whole seconds, as the shape schedule reads it: the
// real clock of the saver hosts (vimra-render simulates its own).
#include "platform.h"

std::time_t ReadClock()
{
    return std::time(nullptr);
}
