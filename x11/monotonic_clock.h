// The monotonic clock in nanoseconds: the frame loop's deadlines and the
// frame-rate overlay's seconds.
#pragma once

#include <cstdint>
#include <ctime>

using Nanoseconds = std::int64_t;
constexpr Nanoseconds kPerMillisecond = 1000000;
constexpr Nanoseconds kPerSecond = 1000000000;

inline Nanoseconds MonotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kPerSecond + now.tv_nsec;
}
