// The animation's side of the saver window: SaverProc acts on creation, the
// frame timer's tick, a change of the displays and destruction, and hands
// every message on to the host's DefaultSaverProc, whose result it returns.
#pragma once

#include <cstdint>

#include "window_types.h"

constexpr UINT kFrameTimerId = 154;
constexpr UINT kFrameInterval = 50;  // milliseconds: 20 frames a second
constexpr double kShapeInterval = 10;  // seconds
constexpr float kAngleStep = 1.5f;     // degrees per frame about each axis

LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Advances screen s's cloud one frame and draws it into that screen's back buffer.
void RenderFrame(std::int32_t screen);

// The host's default handling, called last for every message.
LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
