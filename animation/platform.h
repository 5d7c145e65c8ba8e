// The seam between the animation and the platform. The frame pipeline reaches
// the screen, the timer and the clock only through these operations; exactly one
// implementation is linked into each binary (GDI for Windows, cairo for
// vimra-render and the X11 hack, a recorder in the tests). None of them reports
// failure: an operation that cannot be carried out simply has no effect.
//
// A window shows one cloud on each of its screens (one per monitor it covers;
// a preview pane has one). Screen s has a back buffer of its own, and the
// platform alone knows where on the window screen s lies and how many of its
// pixels make one pixel of the animation.
#pragma once

#include <cstdint>
#include <ctime>

#include "window_types.h"

// A size in the animation's pixels.
struct ScreenSize {
    std::int32_t width;
    std::int32_t height;
};

constexpr std::int32_t kMaxScreens = 16;

// A WM_TIMER with wParam `id` for `window` every `periodMs` milliseconds.
void StartFrameTimer(HWND window, UINT id, UINT periodMs);
void StopFrameTimer(HWND window, UINT id);

// The screens `window` shows, the primary monitor's first, and the size of
// each one's picture. Returns how many: 1 to kMaxScreens.
std::int32_t ReadScreens(HWND window, ScreenSize sizes[kMaxScreens]);

// Screen s's off-screen surface of width x height pixels in the window's format.
void CreateBackBuffer(HWND window, std::int32_t screen, std::int32_t width, std::int32_t height);
void ClearBackBuffer(std::int32_t screen, std::int32_t width, std::int32_t height);
// An ellipse inscribed in the rectangle (right and bottom edges outside it),
// filled with `colour` (0x00BBGGRR) and outlined by a one-pixel black line.
void DrawDisc(std::int32_t screen, std::uint32_t colour, std::int32_t left, std::int32_t top,
              std::int32_t right, std::int32_t bottom);
// The surface's width x height pixels to the screen's place on the window.
void CopyToWindow(HWND window, std::int32_t screen, std::int32_t width, std::int32_t height);
void FreeBackBuffer(std::int32_t screen);

// Calendar time in whole seconds.
std::time_t ReadClock();
