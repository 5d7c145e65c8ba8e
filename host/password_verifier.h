// The operating system's password check before the saver may close (Windows
// 95/98 family only), and the screen-saver-running state that goes with it.
#pragma once

#include <cstdint>

void LoadPasswordVerifier();
void UnloadPasswordVerifier();
// Tells the system whether a saver runs (on: 1 or 0); 95/98 family only.
void SetScreenSaverRunning(std::int32_t on);
