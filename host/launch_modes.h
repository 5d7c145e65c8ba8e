// Process entry and the choice of launch mode from the command line:
// /s full screen, /p or /l <hwnd> preview, /c[:hwnd] or nothing configure,
// /a <hwnd> password change (Windows 95/98 family).
#pragma once

#include <windows.h>

#include <cstdint>

// The exit code of a mode that refuses its command line.
constexpr std::int32_t kRefusedExitCode = -1;

// The program's main routine: runs SaverMain on the command-line tail and
// ends the process with its result.
[[noreturn]] void SaverEntry();
// Records the instance and platform, then runs one mode inside the fault guard.
std::int32_t SaverMain(HINSTANCE instance, const char* tail);

// The command line after the program name (quoted or not) and the blanks
// and control bytes that follow it.
const char* CommandLineTail(const char* commandLine);
// Scans the tail for the first switch and runs that mode; its exit code.
std::int32_t RunLaunchMode(const char* tail);
// Leading decimal digits as an unsigned 32-bit number, wrapping modulo 2^32;
// null when the text does not begin with a digit.
HWND ParseWindowHandle(const char* text);
// `text` is what follows the switch letter and its spaces.
std::int32_t RunPreview(const char* text);
std::int32_t RunChangePassword(const char* text);
