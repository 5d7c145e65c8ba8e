// The seam between the animation and the platform. The frame pipeline reaches
// the screen, the timer and the clock only through these operations; exactly one
// implementation is linked into each binary (GDI for Windows, cairo for
// vimra-render, a recorder in the tests). None of them reports failure: an
// operation that cannot be carried out simply has no effect.
#pragma once

#include <cstdint>
#include <ctime>

#include "window_types.h"

// A WM_TIMER with wParam `id` for `window` every `periodMs` milliseconds.
void StartFrameTimer(HWND window, UINT id, UINT periodMs);
void StopFrameTimer(HWND window, UINT id);

// The primary screen's size in pixels, read once at creation.
std::int32_t ReadScreenWidth();
std::int32_t ReadScreenHeight();

// An off-screen surface of width x height pixels in the window's format.
void CreateBackBuffer(HWND window, std::int32_t width, std::int32_t height);
void ClearBackBuffer(std::int32_t width, std::int32_t height);
// An ellipse inscribed in the rectangle (right and bottom edges outside it),
// filled with `colour` (0x00BBGGRR) and outlined by a one-pixel black line.
void DrawDisc(std::uint32_t colour, std::int32_t left, std::int32_t top,
              std::int32_t right, std::int32_t bottom);
// The surface's width x height pixels to the window's client area.
void CopyToWindow(HWND window, std::int32_t width, std::int32_t height);
void FreeBackBuffer();

// Calendar time in whole seconds.
std::time_t ReadClock();
