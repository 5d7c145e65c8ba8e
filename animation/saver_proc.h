// The animation's side of the saver window: SaverProc acts on creation, the
// frame timer's tick and destruction, and hands every message on to the
// host's DefaultSaverProc, whose result it returns.
#pragma once

#include <cstdint>

#include "window_types.h"

struct ScreenSize {
    std::int32_t width;
    std::int32_t height;
};

constexpr UINT kFrameTimerId = 154;
constexpr UINT kFrameInterval = 50;  // milliseconds: 20 frames a second
constexpr double kShapeInterval = 10;  // seconds
constexpr float kAngleStep = 1.5f;     // degrees per frame about each axis

// Read once at creation; the size of the back buffer, of every clear and copy.
extern ScreenSize screenSize;
// Degrees, always within [0, 360).
extern float angleX;
extern float angleY;
extern float angleZ;

LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Advances the animation one frame and draws it into the back buffer.
void RenderFrame();

// The host's default handling, called last for every message.
LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
