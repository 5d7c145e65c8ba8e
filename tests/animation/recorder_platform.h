// A drawing seam that records every platform operation, with a clock the test
// sets, and a DefaultSaverProc that records what reaches it.
#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "window_types.h"

enum class Op { StartTimer, StopTimer, ScreenWidth, ScreenHeight, CreateBuffer, Clear, Disc, Copy, FreeBuffer };

struct PlatformCall {
    Op op;
    HWND window;
    std::int32_t a, b, c, d;  // operation arguments in declaration order
    std::uint32_t colour;     // discs only
};

struct DefaultCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct Recorder {
    std::vector<PlatformCall> calls;
    std::vector<DefaultCall> defaultCalls;
    std::time_t clock = 0;
    std::int32_t screenWidth = 1024;
    std::int32_t screenHeight = 768;
    LRESULT defaultResult = 0;

    std::vector<PlatformCall> Discs() const;
};

extern Recorder recorder;

// Clears the record and puts the animation's module state back to program start.
void ResetAnimation();
