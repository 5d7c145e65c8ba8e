// Runs a launch mode inside a structured-exception guard: a fault that the
// system's unhandled-exception filter hands back to us switches the
// screen-saver-running state off instead of leaving it set.
#pragma once

#include <cstdint>

typedef std::int32_t (*LaunchMode)(const char* tail);

// mode(tail), or the fault exit code when a fault was handled.
std::int32_t RunGuarded(LaunchMode mode, const char* tail);
