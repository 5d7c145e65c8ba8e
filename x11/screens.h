// The size of the monitor that shows the target window: the picture is
// composed at that size div the scale, whatever the window's own, and shown
// scale times as large (ReadScreens answers the divided size).
#pragma once

#include <cstdint>

struct MonitorSize {
    std::int32_t width;
    std::int32_t height;
};

// The RandR monitor holding the target's centre (the first monitor when none
// does); the screen's size where the server lists no monitors.
MonitorSize FindMonitorSize();

// The scale `asked` for (1 to 8), else one per whole 1080 pixels of the
// monitor's height and at least 1: 3840x2160 and 5120x2880 give 2, 2560x1440
// and 1920x1080 give 1. The cloud then takes about the share of the monitor
// that it takes at 1920x1080, and whole steps keep every disc sharp.
std::int32_t ChooseScale(std::int32_t asked);
