// The window-procedure types. On Windows they are the platform's own; the
// native build gives them the same sizes and signedness, so SaverProc has one
// signature everywhere and the host passes its arguments through unchanged.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>
struct HWND__;
typedef HWND__* HWND;
typedef std::uint32_t UINT;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
#endif

#ifndef _WIN32
// The messages the animation acts on, numbered as Windows numbers them.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_TIMER = 0x0113;
#endif
