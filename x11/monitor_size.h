// The size of the monitor that shows the target window: the picture is
// composed at that size, whatever the window's own.
#pragma once

#include <cstdint>

struct MonitorSize {
    std::int32_t width;
    std::int32_t height;
};

// The RandR monitor holding the target's centre (the first monitor when none
// does); the screen's size where the server lists no monitors.
MonitorSize FindMonitorSize();
