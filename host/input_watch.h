// The full-screen saver's closing rules: user input, deactivation and power
// events post WM_CLOSE; a WM_CLOSE passes password verification where the
// platform and the user's settings ask for it.
#pragma once

#include <windows.h>

#include <cstdint>

// Largest summed cursor displacement, in pixels, that does not end the saver.
constexpr std::uint32_t kMouseMoveThreshold = 4;
// Milliseconds after a verification ended during which a close is refused
// without asking again.
constexpr std::uint32_t kVerifyDebounceMs = 200;
// Sent by the saver to its own window; non-zero answer: the saver may close.
constexpr UINT kVerifyPasswordMessage = WM_APP;
// lastVerifyTick before the first verification.
constexpr std::uint32_t kNoVerifyYet = 0xFFFFFFFF;

extern std::int32_t verifying;  // 1 while a password verification runs
// GetTickCount value taken when the last verification ended.
extern std::uint32_t lastVerifyTick;
// The millisecond tick count; GetTickCount, replaceable so that a count about
// to wrap can be provoked.
extern DWORD(WINAPI* readTickCount)();

// Called last by SaverProc for every message of the saver window.
LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Non-zero when the window may close now.
std::int32_t VerifyBeforeClose(HWND window);
